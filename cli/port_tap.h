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

#include "dlportio.h"

namespace cli {
class CapturePort;
}
#include "port_extension.h"

namespace cli::port_tap {

using ReadPort = decltype(&DlPortReadPortUchar);
using WritePort = decltype(&DlPortWritePortUchar);

// The driver's own functions, which every access is forwarded to.  From then
// on the wire of both serial ports is decoded.
void connect(ReadPort read, WritePort write);
// The driver's extension, or null when it has none.
void connect_extension(const wirelink_port_extension *extension);
// Hands each decoded transaction on either serial port to `listener`.
void trace(std::function<void(const std::string &)> listener);
// Hands over transactions still open (no STOP seen).
void flush_trace();
// The last transaction that ended on either port since this was last asked,
// as the trace shows it ("" when none).
std::string take_last_transaction();
// While `port` is set, every access goes to it instead of the driver and is
// not traced; nullptr ends the diversion.
void divert(CapturePort *port);

}  // namespace cli::port_tap

#endif
