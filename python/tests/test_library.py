"""The prototype table against the library's export table, and the rules of
loading: one library per process, ports that do not exist, clear errors."""

import ctypes
import errno
import os
import re
import subprocess
import sys
from pathlib import Path

import pytest

import wirelink
from wirelink import _exports

SOURCE = Path(__file__).resolve().parents[2]


# The C types of lib/api.def as the package declares them.
C_TYPES = {
    "void": None,
    "int32_t": _exports.i32,
    "float": ctypes.c_float,
    "int32_t *": ctypes.POINTER(ctypes.c_int32),
    "const char *": ctypes.c_char_p,
    "char *": ctypes.POINTER(ctypes.c_char),
    "char[32]": ctypes.c_char * 32,
    "const wirelink_msg *": ctypes.POINTER(_exports.wirelink_msg),
}


def c_type(name):
    if name.endswith("_state *"):
        return ctypes.POINTER(getattr(_exports, name[:-2]))
    return C_TYPES[name]


def table():
    """lib/api.def's functions as {name: (result, [arguments])} and data cells as {name: type}."""
    functions, cells = {}, {}
    for line in (SOURCE / "lib" / "api.def").read_text().splitlines():
        function = re.match(r"WIRELINK_FUNCTION\((\w+), \w+, \d+, (.*)\)$", line)
        cell = re.match(r"WIRELINK_DATA_CELL\((\w+), (.*)\)$", line)
        if function:
            result, *arguments = [field.strip() for field in function.group(2).split(",")]
            functions[function.group(1)] = (c_type(result), [c_type(a) for a in arguments if a != "void"])
        elif cell:
            cells[cell.group(1)] = c_type(cell.group(2))
    return functions, cells


def same_type(a, b):
    # ctypes makes a new class for each POINTER() or array of a new type.
    return a == b or (getattr(a, "_type_", None) == getattr(b, "_type_", None) and a.__name__ == b.__name__)


def test_the_prototypes_are_the_export_tables():
    functions, cells = table()
    assert set(_exports.FUNCTIONS) == set(functions)
    assert set(_exports.DATA) == set(cells)
    for name, (result, arguments) in functions.items():
        declared_result, declared_arguments = _exports.FUNCTIONS[name]
        assert same_type(declared_result, result), name
        assert len(declared_arguments) == len(arguments), name
        assert all(same_type(d, a) for d, a in zip(declared_arguments, arguments)), name
    for name, cell_type in cells.items():
        assert same_type(_exports.DATA[name], cell_type), name


def test_real_ports_after_the_simulated_bench_are_refused(bus):
    with pytest.raises(OSError) as raised:
        wirelink.SMBus(1)
    assert raised.value.errno == errno.EBUSY and "simulated bench" in str(raised.value)


def test_the_simulated_bench_after_real_ports_is_refused():
    program = (
        "import errno, wirelink, wirelink._library as l\n"
        "l.load(simulated=False)\n"
        "try:\n    wirelink.SMBus('sim')\nexcept OSError as e:\n    print(e.errno == errno.EBUSY, e)\n"
    )
    result = subprocess.run([sys.executable, "-c", program], capture_output=True, text=True, env=os.environ)
    assert result.stdout.startswith("True "), result.stdout + result.stderr
    assert "real ports" in result.stdout


@pytest.mark.parametrize(
    "name,error", [("com3", ValueError), ("/dev/ttyUSB0", OSError), ("ftdi:A1B2", OSError)]
)
def test_bus_names_that_cannot_be_opened(name, error):
    with pytest.raises(error):
        wirelink.SMBus(name)


def test_a_closed_bus_says_so():
    closed = wirelink.SMBus()
    with pytest.raises(OSError) as raised:
        closed.read_byte(0x39)
    assert raised.value.errno == errno.EBADF
