"""The simulated bench behind SMBus("sim"): its decoded bus trace and its
faults, through the C interface of its port driver (sim/wlsim_c.h)."""

import ctypes
import errno

from . import _exports, _library


def _bench():
    library = _library.loaded()
    if library is None or not library.simulated:
        raise OSError(errno.ENODEV, "wirelink.sim: the simulated bench is not loaded; open SMBus('sim') first")
    functions = {}
    for name, (result, arguments) in _exports.SIMULATOR.items():
        function = getattr(library.simulator, name)
        function.restype, function.argtypes = result, arguments
        functions[name] = function
    return functions


def trace():
    """The transactions since the history was last forgotten: "S 90 A 42 A P"."""
    text = _bench()["wlsim_trace_text"]
    size = text(None, 0)
    buffer = ctypes.create_string_buffer(size + 1)
    text(buffer, size + 1)
    return buffer.value.decode("ascii")


def forget_history():
    _bench()["wlsim_forget_history"]()


def accesses():
    """Port accesses since the history was last forgotten."""
    return _bench()["wlsim_accesses"]()


def violations():
    """Accesses outside the serial ports plus conditions inside a byte, ever."""
    return _bench()["wlsim_violations"]()


def stick_scl_low(stuck=True):
    """Holds SCL low as a broken board would, or lets it go."""
    _bench()["wlsim_stick_scl_low"](1 if stuck else 0)
