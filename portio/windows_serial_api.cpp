#include "windows_serial_api.h"

namespace dlportio {

const SerialApi &serial_api_of_process() {
    static const SerialApi kernel32{CreateFileW,
                                    CloseHandle,
                                    GetCommState,
                                    SetCommState,
                                    EscapeCommFunction,
                                    GetCommModemStatus,
                                    GetLastError,
                                    QueryPerformanceCounter,
                                    QueryPerformanceFrequency};
    return kernel32;
}

}  // namespace dlportio
