"""One claimed adapter, shared by every bus and chip object of the process,
and the combined transfer that they all go through."""

import ctypes
import errno
import os
import threading

from . import _exports, _library

_PORT_CHOICES = {1: 1, 2: 2, "1": 1, "2": 2, "com1": 1, "com2": 2, "search": 0, "sim": 0}
_PORT_NAMES = {0x3F8: "COM1 (0x3F8)", 0x2F8: "COM2 (0x2F8)"}
_SEARCHED = {0: "COM2 (0x2F8) and COM1 (0x3F8)", 1: "COM1 (0x3F8)", 2: "COM2 (0x2F8)"}

# What each failure of a transfer means, and what a user can do about it.
_ADVICE = {
    errno.ENXIO: ("no acknowledge from {addresses}", "check the address, the chip's power and its wiring"),
    errno.EREMOTEIO: ("{addresses} refused a data byte", "check the register and the data"),
    errno.ETIMEDOUT: ("SCL stayed low", "check the adapter's cable and power, or a chip holding the clock"),
    errno.EPROTO: ("{addresses} sent a block count outside 1..32", "check the register"),
    errno.EINVAL: ("the messages to {addresses} do not fit", "7-bit addresses, 0..8192 bytes, 42 messages"),
    errno.EBADMSG: ("the packet error code from {addresses} does not match", "the bytes were garbled on the wire"),
}


def hex_address(address):
    return f"0x{address:02x}" if isinstance(address, int) else repr(address)


def failure(code, addresses, port_name):
    """OSError(code, message) naming the addresses, the port and what to do."""
    names = ", ".join(hex_address(a) for a in dict.fromkeys(addresses)) or "the bus"
    what, remedy = _ADVICE.get(code, ("{addresses}", "see the errno"))
    return OSError(code, f"{os.strerror(code)}: {what.format(addresses=names)} on {port_name}; {remedy}")


def _choice(bus):
    key = bus.lower() if isinstance(bus, str) else bus
    if key in _PORT_CHOICES:
        return _PORT_CHOICES[key]
    if isinstance(bus, str) and (bus.startswith("/dev/") or bus.startswith("ftdi:")):
        raise OSError(
            errno.EOPNOTSUPP,
            f"wirelink: this libwirelink.so cannot open {bus} by name; "
            f"map it to COM1 (WIRELINK_COM1={bus} in the environment, or ports.conf) and use bus 1",
        )
    raise ValueError(f"wirelink: bus {bus!r} is not 1, 2, 'search', 'sim' or a device name")


class _Claim:
    """The adapter claimed with init_iic, released when its last user closes."""

    def __init__(self):
        self.lock = threading.Lock()
        self.base = 0
        self.users = 0

    def acquire(self, library, choice):
        with self.lock:
            if self.users:
                wanted = {1: 0x3F8, 2: 0x2F8}.get(choice, self.base)
                if wanted != self.base:
                    raise OSError(
                        errno.EBUSY,
                        f"wirelink: {_PORT_NAMES[self.base]} is already open in this process; "
                        "close it before opening another port",
                    )
            else:
                base = library.init_iic(choice)
                if base == 0:
                    raise OSError(
                        errno.ENODEV,
                        f"wirelink: no adapter found on {_SEARCHED[choice]}; "
                        "check that it is plugged in and that no other program holds the port",
                    )
                self.base = base
            self.users += 1
            return self.base

    def release(self, library):
        with self.lock:
            self.users -= 1
            if self.users == 0:
                library.deinit_iic()
                self.base = 0


_claim = _Claim()


class Port:
    """The process's adapter as one user holds it."""

    def __init__(self, bus):
        choice = _choice(bus)
        self.library = _library.load(simulated=isinstance(bus, str) and bus.lower() == "sim")
        self.base = _claim.acquire(self.library, choice)
        self.name = _PORT_NAMES.get(self.base, hex(self.base))
        if self.library.simulated:
            self.name += " of the simulated bench"
        self._open = True

    def close(self):
        if getattr(self, "_open", False):
            self._open = False
            _claim.release(self.library)

    def __del__(self):
        try:
            self.close()
        except Exception:  # at interpreter exit the module may be gone
            pass

    def transfer(self, messages):
        """Runs [(address, flags, buffer, length)] as one transaction; raises OSError."""
        records = (_exports.wirelink_msg * len(messages))()
        for address, flags, buffer, length in messages:
            room = length + (32 if flags & _exports.WIRELINK_MSG_RECV_LEN else 0)
            if not 0 <= address <= 0x7F or length < 0 or len(buffer) < room:
                raise failure(errno.EINVAL, [address], self.name)
        for record, (address, flags, buffer, length) in zip(records, messages):
            record.address, record.flags, record.length = address, flags, length
            if len(buffer):
                record.data = (ctypes.c_uint8 * len(buffer)).from_buffer(buffer)
        result = self.library.wirelink_transfer(records, len(messages))
        if result != 0:
            raise failure(-result, [m[0] for m in messages], self.name)


def open_port(bus):
    """The adapter for bus; None means the one already open, else a search."""
    if bus is None:
        bus = "sim" if (_library.loaded() is not None and _library.loaded().simulated) else "search"
    return Port(bus)
