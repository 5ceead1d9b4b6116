#include "ftdi_api.h"

namespace dlportio {

const FtdiApi &ftdi_api_of_process() {
    static const FtdiApi libftdi{ftdi_new,
                                 ftdi_free,
                                 ftdi_set_interface,
                                 ftdi_usb_find_all,
                                 ftdi_list_free,
                                 ftdi_usb_get_strings,
                                 ftdi_usb_open_dev,
                                 ftdi_usb_close,
                                 ftdi_set_bitmode,
                                 ftdi_set_baudrate,
                                 ftdi_set_latency_timer,
                                 ftdi_read_pins,
                                 ftdi_write_data,
                                 ftdi_read_data,
                                 ftdi_tcioflush,
                                 ftdi_get_error_string};
    return libftdi;
}

}  // namespace dlportio
