// What a port's name in WIRELINK_COMn or ports.conf stands for: the one
// table of the names that choose a backend.  The first entry that matches
// wins; a name that matches none is a serial device (a path, or a bare name
// in the platform's device directory).  A new backend (an "ftdi:" prefix,
// say) is one entry here, one kind in PortSetting and its opener in each
// port driver's open_backend.
#ifndef DLPORTIO_PORT_BACKENDS_H
#define DLPORTIO_PORT_BACKENDS_H

#include <string_view>

namespace dlportio {

enum class PortKind {
    unnamed,  // named nowhere: the platform's own search
    off,      // switched off: reads empty
    device,   // a serial device: its modem lines
};

struct NamedBackend {
    std::string_view name;  // compared ignoring case
    enum class Match { whole, prefix } match;
    PortKind kind;
};

inline constexpr NamedBackend kNamedBackends[] = {
    {"off", NamedBackend::Match::whole, PortKind::off},
    // An FTDI cable in synchronous bit-bang mode ("ftdi:", "ftdi:SERIAL",
    // "ftdi:SERIAL:B"): taken as named, never as a file in the device
    // directory; the device opener tells it from a serial device.
    {"ftdi:", NamedBackend::Match::prefix, PortKind::device},
};

// The serial device, for a name that no entry matches.
inline constexpr PortKind kDefaultBackend = PortKind::device;

}  // namespace dlportio

#endif
