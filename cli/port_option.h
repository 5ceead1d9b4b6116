// What --port and --slot say: a port to search or claim, or a device that
// stands for one of them.
#ifndef WIRELINK_CLI_PORT_OPTION_H
#define WIRELINK_CLI_PORT_OPTION_H

#include <cstdint>
#include <string>

namespace cli {

struct PortOption {
    int32_t port_choice = 0;  // init_iic's: 0 search, 1 COM1, 2 COM2
    std::string device;       // named for port_choice through the driver; "" none
};

// port: "com1", "com2", "search", "off" or a device ("/dev/ttyUSB0",
// "ttyUSB0", "ftdi:SERIAL"); slot: "" or "1"/"2", the port a device stands
// for (COM1 by default).  Throws a usage error naming what is wrong.
PortOption parse_port_option(const std::string &port, const std::string &slot);

}  // namespace cli

#endif
