"""CircuitPython's busio.I2C on the wire."""

import errno

import pytest

import wirelink
import wirelink.sim


@pytest.fixture
def i2c():
    with wirelink.I2C("sim") as opened:
        yield opened


def test_scan_finds_the_boards_chips_with_zero_length_writes(i2c):
    assert i2c.scan() == [0x38, 0x39, 0x3A, 0x48]
    assert "S 72 A P" in wirelink.sim.trace()


def test_buffers_and_their_slices_on_the_wire(i2c):
    i2c.writeto(0x39, b"\x00\x21\x00", start=1, end=2)
    into = bytearray(3)
    i2c.readfrom_into(0x39, into, start=1)
    received = bytearray(2)
    i2c.writeto_then_readfrom(0x39, bytes([0x5A]), received)
    assert (into, received) == (bytearray(b"\x00\x21\x21"), bytearray(b"\x5a\x5a"))
    assert wirelink.sim.trace() == "S 72 A 21 A P S 73 A 21 A 21 N P S 72 A 5A A Sr 73 A 5A A 5A N P"


def test_absent_device_and_lock(i2c):
    with pytest.raises(OSError) as raised:
        i2c.readfrom_into(0x50, bytearray(1))
    assert raised.value.errno == errno.ENXIO
    assert i2c.try_lock() and not i2c.try_lock()
    i2c.unlock()
    with pytest.raises(ValueError):
        i2c.unlock()
    i2c.deinit()
    with pytest.raises(ValueError):
        i2c.scan()
