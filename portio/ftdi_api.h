// The libftdi1 functions that the FTDI backend calls, as one table of
// pointers with the library's own signatures: the port driver fills it from
// libftdi1, tests with a fake cable on the simulated bench.
#ifndef DLPORTIO_FTDI_API_H
#define DLPORTIO_FTDI_API_H

#include <ftdi.h>

namespace dlportio {

struct FtdiApi {
    ftdi_context *(*new_context)();
    void (*free_context)(ftdi_context *ftdi);
    int (*set_interface)(ftdi_context *ftdi, ftdi_interface interface);
    // Vendor and product 0: every cable with one of FTDI's own product ids.
    int (*find_all)(ftdi_context *ftdi, ftdi_device_list **devices, int vendor, int product);
    void (*free_list)(ftdi_device_list **devices);
    int (*get_strings)(ftdi_context *ftdi, libusb_device *device, char *manufacturer, int manufacturer_size,
                       char *description, int description_size, char *serial, int serial_size);
    int (*open_device)(ftdi_context *ftdi, libusb_device *device);
    int (*close)(ftdi_context *ftdi);
    int (*set_bitmode)(ftdi_context *ftdi, unsigned char output_mask, unsigned char mode);
    int (*set_baudrate)(ftdi_context *ftdi, int baudrate);
    int (*set_latency_timer)(ftdi_context *ftdi, unsigned char milliseconds);
    int (*read_pins)(ftdi_context *ftdi, unsigned char *pins);
    int (*write_data)(ftdi_context *ftdi, const unsigned char *buffer, int size);
    int (*read_data)(ftdi_context *ftdi, unsigned char *buffer, int size);
    int (*flush)(ftdi_context *ftdi);
    const char *(*error_string)(ftdi_context *ftdi);
};

// The table the port driver uses; libftdi1's in the product.
const FtdiApi &ftdi_api_of_process();

}  // namespace dlportio

#endif
