// Absolute port addresses mapped onto COM ports through the Windows serial
// API: the registers at 0x3F8 to 0x3FF are COM1's and those at 0x2F8 to
// 0x2FF COM2's, unless WIRELINK_COM1 / WIRELINK_COM2 or wirelink.ini names
// another COM port (or "off").  Any other address, a port switched off, and
// a COM port that cannot be opened read 0xFF and ignore writes.
#ifndef DLPORTIO_WINDOWS_PORT_DRIVER_H
#define DLPORTIO_WINDOWS_PORT_DRIVER_H

#include <cstdint>
#include <filesystem>
#include <memory>

#include "legacy_ports.h"
#include "port_choice.h"
#include "register_backend.h"
#include "report.h"
#include "windows_serial_api.h"
#include "windows_timing.h"

namespace dlportio {

class WindowsPortDriver {
public:
    // ini_file: wirelink.ini beside the DLL, read at the first access to a
    // port that no variable names.
    WindowsPortDriver(const SerialApi &api, PortChoice::Environment environment,
                      std::filesystem::path ini_file, Report report);

    uint8_t read(unsigned long port);
    void write(unsigned long port, uint8_t value);
    // Closes every port, putting its settings back; the ports read empty
    // from then on.  For the end of the process.
    void release();

private:
    std::unique_ptr<RegisterBackend> open_backend(const PortId &serial);

    const SerialApi &api_;
    CounterTiming timing_;
    Report report_;
    PortChoice choice_;
    LegacyPorts ports_;
};

}  // namespace dlportio

#endif
