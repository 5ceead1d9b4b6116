"""CircuitPython's busio.I2C on the adapter, so that drivers written for it
(Adafruit's among them) run unchanged."""

import threading

from . import _port
from ._exports import WIRELINK_MSG_READ


def _span(buffer, start, end):
    end = len(buffer) if end is None else end
    if not 0 <= start <= end <= len(buffer):
        raise ValueError(f"start {start} and end {end} do not fit a buffer of {len(buffer)}")
    return start, end


class I2C:
    """The bus: bus 1 or 2 (COM1, COM2), "search" (the default) or "sim"."""

    def __init__(self, bus="search", *, frequency=100000, timeout=255):
        self.frequency = frequency
        self.timeout = timeout
        self._port = _port.Port(bus)
        self._lock = threading.Lock()
        self._locked = False

    def __enter__(self):
        return self

    def __exit__(self, exc_type, exc_val, exc_tb):
        self.deinit()

    def deinit(self):
        port, self._port = self._port, None
        if port is not None:
            port.close()

    def _open_port(self):
        if self._port is None:
            raise ValueError("Object has been deinitialized and can no longer be used. Create a new object.")
        return self._port

    def try_lock(self):
        with self._lock:
            if self._locked:
                return False
            self._locked = True
            return True

    def unlock(self):
        with self._lock:
            if not self._locked:
                raise ValueError("Not locked")
            self._locked = False

    def scan(self):
        """The 7-bit addresses 0x08..0x77 that acknowledge a zero-length write."""
        port = self._open_port()
        found = []
        for address in range(0x08, 0x78):
            try:
                port.transfer([(address, 0, bytearray(), 0)])
            except OSError:
                continue
            found.append(address)
        return found

    def writeto(self, address, buffer, *, start=0, end=None):
        start, end = _span(buffer, start, end)
        data = bytearray(buffer[start:end])
        self._open_port().transfer([(address, 0, data, len(data))])

    def readfrom_into(self, address, buffer, *, start=0, end=None):
        start, end = _span(buffer, start, end)
        if end == start:
            raise ValueError("Buffer must be at least length 1")
        data = bytearray(end - start)
        self._open_port().transfer([(address, WIRELINK_MSG_READ, data, len(data))])
        buffer[start:end] = data

    def writeto_then_readfrom(
        self, address, out_buffer, in_buffer, *, out_start=0, out_end=None, in_start=0, in_end=None
    ):
        out_start, out_end = _span(out_buffer, out_start, out_end)
        in_start, in_end = _span(in_buffer, in_start, in_end)
        if in_end == in_start:
            raise ValueError("Buffer must be at least length 1")
        sent = bytearray(out_buffer[out_start:out_end])
        received = bytearray(in_end - in_start)
        self._open_port().transfer(
            [(address, 0, sent, len(sent)), (address, WIRELINK_MSG_READ, received, len(received))]
        )
        in_buffer[in_start:in_end] = received
