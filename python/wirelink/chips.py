"""The board's chips through the library's own drivers: the PCF8574 port
expander, the PCF8591 converter and the character display."""

import ctypes
import errno

from . import _exports, _port


def _index(index_or_address, first_address, name):
    """A chip index 0..7, or its 7-bit address."""
    if 0 <= index_or_address <= 7:
        return index_or_address
    if first_address <= index_or_address <= first_address + 7:
        return index_or_address - first_address
    raise ValueError(
        f"{name} {index_or_address!r} is neither an index 0..7 nor an address "
        f"{_port.hex_address(first_address)}..{_port.hex_address(first_address + 7)}"
    )


class _Chip:
    def __init__(self, bus):
        self._port = _port.open_port(bus)
        self._lib = self._port.library

    def close(self):
        self._port.close()

    def __enter__(self):
        return self

    def __exit__(self, exc_type, exc_val, exc_tb):
        self.close()

    def _no_answer(self, address, what):
        return OSError(
            errno.ENXIO,
            f"No such device or address: no acknowledge from {_port.hex_address(address)} ({what}) "
            f"on {self._port.name}; check its address, power and wiring",
        )


class Expander(_Chip):
    """A PCF8574 at index 0..7 (address 0x38..0x3f).  .value reads the pins,
    setting it (or .write()) drives them."""

    def __init__(self, index_or_address, bus=None):
        self.index = _index(index_or_address, 0x38, "expander")
        self.address = 0x38 + self.index
        super().__init__(bus)

    @property
    def value(self):
        pins = ctypes.c_int32(0)
        if self._lib._iic_rx_pcf8574(ctypes.byref(pins), self.index) == 0:
            raise self._no_answer(self.address, f"expander {self.index}")
        return pins.value

    @value.setter
    def value(self, value):
        self.write(value)

    def write(self, value):
        if not 0 <= value <= 0xFF:
            raise ValueError(f"expander value {value!r} is not 0..0xff")
        if self._lib.iic_tx_pcf8574(value, self.index) == 0:
            raise self._no_answer(self.address, f"expander {self.index}")


class Converter(_Chip):
    """A PCF8591 at address 0..7 (0x48..0x4f) with its reference in millivolts.
    .read(channel) and .read_all() give codes 0..255; .output_mv sets the
    analog output."""

    def __init__(self, address=0, vref_mv=2550, bus=None):
        self.index = _index(address, 0x48, "converter")
        self.address = 0x48 + self.index
        if not 1 <= vref_mv <= 10000:
            raise ValueError(f"vref_mv {vref_mv!r} is not 1..10000")
        self.vref_mv = vref_mv
        super().__init__(bus)
        self._state = _exports.pcf8591_state()
        self._lib.pcf8591_init(ctypes.byref(self._state), 0, vref_mv * 0.001)

    def _name(self):
        return f"converter {self.index}"

    def read(self, channel):
        if channel not in (0, 1, 2, 3):
            raise ValueError(f"channel {channel!r} is not 0..3")
        if self._lib.pcf8591_readchan(ctypes.byref(self._state), channel, self.index) == 0:
            raise self._no_answer(self.address, self._name())
        return self._state.reading[channel]

    def read_all(self):
        if self._lib.pcf8591_read4chan(ctypes.byref(self._state), self.index) == 0:
            raise self._no_answer(self.address, self._name())
        return list(self._state.reading)

    @property
    def output_mv(self):
        """The output as last set: its code times the reference / 256."""
        return self._state.dac * self.vref_mv // 256

    @output_mv.setter
    def output_mv(self, millivolts):
        if not 0 <= millivolts <= self.vref_mv:
            raise ValueError(f"output {millivolts!r} mV is not 0..{self.vref_mv} mV")
        # The reference itself would be code 256, which the chip takes as 0.
        sent = millivolts - 1 if millivolts == self.vref_mv else millivolts
        if self._lib.pcf8591_setda(ctypes.byref(self._state), sent * 0.001, self.index) == 0:
            raise self._no_answer(self.address, self._name())


class Display(_Chip):
    """The HD44780 display behind the expander at index 0: two lines of 16."""

    WIDTH = 16
    _LINES = {1: 0x00, 2: 0x40}
    _CLEAR = 0x01
    _SET_ADDRESS = 0x80

    def __init__(self, bus=None, init=True):
        super().__init__(bus)
        if init and self._lib.lcd_init() == 0:
            raise self._failed()

    def _failed(self):
        return OSError(
            errno.ENXIO, f"No such device or address: the display did not answer (expander 0 at 0x38) on {self._port.name}"
        )

    def _line_address(self, line):
        if line not in self._LINES:
            raise ValueError(f"line {line!r} is not 1 or 2")
        return self._LINES[line]

    def _instruction(self, code):
        if self._lib.lcd_instr(code) == 0:
            raise self._failed()

    def print(self, text, line=1):
        """Shows text (16 characters at most) on a line; the rest is blanked."""
        address = self._line_address(line)
        if len(text) > self.WIDTH or "\0" in text:
            raise ValueError(f"text {text!r}: a line holds 16 characters and no NUL")
        self._instruction(self._SET_ADDRESS | address)
        self._lib.lcd_write_str(text.ljust(self.WIDTH).encode("latin-1"))

    def read(self, line=1):
        """The 16 characters of a line."""
        address = self._line_address(line)
        text = ctypes.create_string_buffer(self.WIDTH + 1)
        if self._lib.lcd_read_str(self.WIDTH, address, text) == 0:
            raise OSError(errno.ETIMEDOUT, f"Connection timed out: SCL stayed low reading the display on {self._port.name}")
        return text.value.decode("latin-1")

    def clear(self):
        self._instruction(self._CLEAR)
