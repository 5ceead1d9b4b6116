// Every port access of libwirelink passes through the tool on its way to the
// port driver: the tool defines DlPortReadPortUchar and DlPortWritePortUchar
// itself and exports them, so the loader binds libwirelink's calls to these
// ahead of the driver's (the port driver contract allows exactly that).
// They forward each access and, when tracing, decode the wire.  The driver's
// extension (runs of line steps, port_extension.h) is tapped the same way,
// so the tool keeps the fast path of an FTDI cable.
#ifndef WIRELINK_CLI_PORT_TAP_H
#define WIRELINK_CLI_PORT_TAP_H

#include <functional>
#include <string>

#include "port_extension.h"

namespace cli::port_tap {

using ReadPort = unsigned char (*)(unsigned long port);
using WritePort = void (*)(unsigned long port, unsigned char value);

// The driver's own functions, which every access is forwarded to.
void connect(ReadPort read, WritePort write);
// The driver's extension, or null when it has none.
void connect_extension(const wirelink_port_extension *extension);
// Hands each decoded transaction on either serial port to `listener`.
void trace(std::function<void(const std::string &)> listener);
// Hands over transactions still open (no STOP seen).
void flush_trace();

}  // namespace cli::port_tap

#endif
