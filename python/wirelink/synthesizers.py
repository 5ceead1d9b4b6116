"""The five PLL synthesizers: .tune(hz) computes the chip's bytes with the
library, sends them and returns the frequency they give; .calc(hz) only
computes them.  .bytes are the transactions, address byte first."""

import ctypes
import errno

from . import _exports, _port
from .chips import _Chip

TUNER_OFFSET = 37_300_000  # the TSA5523 and SDA3302 count freq + 37.3 MHz
FIFTEEN_BITS = 0x7FFF


def _offset(offset, highest):
    if offset not in range(0, highest + 1, 2):
        raise ValueError(f"address offset {offset!r} is not one of {list(range(0, highest + 1, 2))}")
    return offset


class _Synthesizer(_Chip):
    name = ""
    highest_divider = FIFTEEN_BITS

    def __init__(self, bus):
        super().__init__(bus)
        self.divider = 0
        self.bytes = ()

    def calc(self, hz):
        """The chip's bytes for hz, touching no port; the frequency they give."""
        if not isinstance(hz, int) or not 1 <= hz <= 0x7FFFFFFF:
            raise ValueError(f"frequency {hz!r} Hz is not 1..2147483647")
        divider = self._calc(hz)
        if not 1 <= divider <= self.highest_divider:
            raise ValueError(f"{hz} Hz needs divider {divider}; the {self.name} takes 1..{self.highest_divider}")
        self.divider = divider
        self.bytes = tuple(bytes(b & 0xFF for b in transaction) for transaction in self._transactions())
        return self._tunes()

    def tune(self, hz):
        """Sends the chip's bytes for hz; the frequency they give."""
        tunes = self.calc(hz)
        if not self._send():
            raise OSError(
                errno.ENXIO,
                f"No such device or address: no acknowledge from {_port.hex_address(self.bytes[0][0] >> 1)} "
                f"({self.name}) on {self._port.name}; check its address offset, power and wiring",
            )
        return tunes


class TSA5511(_Synthesizer):
    """Divider in steps of fref / 64 (62.5 kHz for 4 MHz)."""

    name = "TSA5511"

    def __init__(self, offset=0, fref=4_000_000, control=0x8E, port=0x00, step_mode=0, bus=None):
        self.offset = _offset(offset, 6)
        self.step_mode = step_mode
        super().__init__(bus)
        self._state = _exports.tsa5511_state()
        self._lib.tsa5511_init(ctypes.byref(self._state), control, fref, port)

    def _calc(self, hz):
        return self._lib.tsa5511_calc(ctypes.byref(self._state), hz, self.step_mode)

    def _transactions(self):
        s = self._state
        return [[0xC0 + self.offset, s.div_high, s.div_low, s.control, s.port]]

    def _send(self):
        return self._lib.tsa5511_send(ctypes.byref(self._state), self.offset) != 0

    def _tunes(self):
        return self.divider * self._state.step


class _Tuner(_Synthesizer):
    """Divider for freq + 37.3 MHz; band byte from the frequency."""

    step = 0
    record = None
    prefix = ""

    def __init__(self, offset=0, control=0x8E, step_mode=0, bus=None):
        self.offset = _offset(offset, 6)
        self.step_mode = step_mode
        super().__init__(bus)
        self._state = self.record()
        getattr(self._lib, self.prefix + "_init")(ctypes.byref(self._state), control)

    def _calc(self, hz):
        return getattr(self._lib, self.prefix + "_calc")(ctypes.byref(self._state), hz, self.step_mode)

    def _transactions(self):
        s = self._state
        return [[0xC0 + self.offset, s.div_high, s.div_low, s.control, s.band]]

    def _send(self):
        return getattr(self._lib, self.prefix + "_send")(ctypes.byref(self._state), self.offset) != 0

    def _tunes(self):
        return self.divider * self.step - TUNER_OFFSET


class TSA5523(_Tuner):
    """50 kHz steps of freq + 37.3 MHz."""

    name, step, record, prefix = "TSA5523", 50_000, _exports.tsa5523_state, "tsa5523"


class SDA3302(_Tuner):
    """62.5 kHz steps of freq + 37.3 MHz."""

    name, step, record, prefix = "SDA3302", 62_500, _exports.sda3302_state, "sda3302"

    def __init__(self, offset=0, control=0xCE, step_mode=0, bus=None):
        super().__init__(offset, control, step_mode, bus)


class TSA6057(_Synthesizer):
    """17-bit divider in 1, 10 or 25 kHz steps."""

    name = "TSA6057"
    highest_divider = 0x1FFFF
    _REFERENCE_SELECT = {1_000: 0, 10_000: 64, 25_000: 128}

    def __init__(self, offset=0, step=10_000, control=0, bus=None):
        if step not in self._REFERENCE_SELECT:
            raise ValueError(f"step {step!r} Hz is not 1000, 10000 or 25000")
        if control not in range(0, 0x3D, 4):
            raise ValueError(f"control {control!r} sets bits outside 5-2")
        self.offset = _offset(offset, 2)
        self._select = self._REFERENCE_SELECT[step]
        super().__init__(bus)
        self._state = _exports.tsa6057_state()
        self._lib.tsa6057_init(ctypes.byref(self._state), control, self._select)

    def _calc(self, hz):
        return self._lib.tsa6057_calc(ctypes.byref(self._state), hz, self._select)

    def _transactions(self):
        s = self._state
        return [[0xC4 + self.offset, s.subaddress, s.db0, s.db1, s.db2, s.db3]]

    def _send(self):
        return self._lib.tsa6057_send(ctypes.byref(self._state), self.offset) != 0

    def _tunes(self):
        return self.divider * self._state.step


class TBB200(_Synthesizer):
    """Reference, main and status registers, one transaction each."""

    name = "TBB200"

    def __init__(self, fref=12_800_000, step=25_000, prescaler=64, mode=0, status=0xF8, bus=None):
        if mode not in (0, 1) or not 1 <= prescaler <= 4096 or not 1 <= step <= fref:
            raise ValueError("TBB200: mode 0 or 1, prescaler 1..4096, step 1..fref")
        self.step, self.mode, self.status = step, mode, status
        self.highest_divider = 0xFFFF if mode == 0 else 0x7FFFFFFF
        super().__init__(bus)
        self._state = _exports.tbb200_state()
        self._lib.tbb200_init(ctypes.byref(self._state), mode, fref, prescaler)

    def _calc(self, hz):
        divider = self._lib.tbb200_calc(ctypes.byref(self._state), self.step, hz)
        s = self._state
        if not 1 <= s.r_high * 256 + s.r_low <= 0xFFFF:
            raise ValueError("TBB200: the reference counter fref / step must be 1..65535")
        if self.mode and divider // s.prescaler > 0xFFF:
            raise ValueError(f"TBB200: {hz} Hz needs a main counter above 4095")
        return divider

    def _transactions(self):
        s, address = self._state, 0xC4 + self.mode
        main = [address, self.mode + 12] + ([s.n_byte1] if self.mode else []) + [s.n_byte2, s.n_byte3]
        return [[address, self.mode + 8, self.status], [address, self.mode + 4, s.r_high, s.r_low], main]

    def _send(self):
        record = ctypes.byref(self._state)
        sent = [
            self._lib.tbb200_send_status(record, self.status),
            self._lib.tbb200_send_r_cnt(record),
            self._lib.tbb200_send_n_cnt(record),
        ]
        return all(sent)

    def _tunes(self):
        return self.divider * self.step
