// The few Windows functions that the port driver calls to reach a COM port
// and to keep time, as one table of pointers with the functions' own
// signatures: the DLL fills it from kernel32, tests with fakes.
#ifndef DLPORTIO_WINDOWS_SERIAL_API_H
#define DLPORTIO_WINDOWS_SERIAL_API_H

#include <windows.h>

namespace dlportio {

struct SerialApi {
    HANDLE(WINAPI *create_file)
    (LPCWSTR name, DWORD access, DWORD share_mode, LPSECURITY_ATTRIBUTES security, DWORD creation,
     DWORD flags, HANDLE template_file);
    BOOL(WINAPI *close_handle)(HANDLE handle);
    BOOL(WINAPI *get_comm_state)(HANDLE handle, LPDCB settings);
    BOOL(WINAPI *set_comm_state)(HANDLE handle, LPDCB settings);
    // SETDTR, CLRDTR, SETRTS, CLRRTS: one line per call.
    BOOL(WINAPI *escape_comm_function)(HANDLE handle, DWORD function);
    // MS_CTS_ON, MS_DSR_ON, MS_RING_ON, MS_RLSD_ON: the bits of the UART's
    // modem status register.
    BOOL(WINAPI *get_comm_modem_status)(HANDLE handle, LPDWORD status);
    DWORD(WINAPI *get_last_error)();
    BOOL(WINAPI *query_performance_counter)(LARGE_INTEGER *count);
    BOOL(WINAPI *query_performance_frequency)(LARGE_INTEGER *frequency);
};

// The table the DLL uses; kernel32's in the product.
const SerialApi &serial_api_of_process();

}  // namespace dlportio

#endif
