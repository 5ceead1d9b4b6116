"""The prototype table against the library's export list, and the rules of
loading: one library per process, ports that do not exist, clear errors."""

import errno
import os
import subprocess
import sys
from pathlib import Path

import pytest

import wirelink
from wirelink import _exports

SOURCE = Path(__file__).resolve().parents[2]


def listed_exports():
    names = set()
    for line in (SOURCE / "lib" / "exports.list").read_text().splitlines():
        fields = line.split()
        if fields and not fields[0].startswith("#"):
            names.add(fields[0])
    return names


def test_the_table_declares_every_export_and_nothing_else():
    assert set(_exports.FUNCTIONS) | set(_exports.DATA) == listed_exports()


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
