"""Every SMBus call on the wire.  The expander at 0x39 answers a read with
the last byte written to it, so a register byte comes back as the data."""

import errno

import pytest

import wirelink.sim
from wirelink import i2c_msg
from wirelink.smbus import crc8

CALLS = [
    ("write_quick", lambda b: b.write_quick(0x39), None, "S 72 A P"),
    ("write_byte", lambda b: b.write_byte(0x39, 0x5A), None, "S 72 A 5A A P"),
    ("read_byte", lambda b: (b.write_byte(0x39, 0x5A), b.read_byte(0x39))[1], 0x5A, "S 72 A 5A A P S 73 A 5A N P"),
    ("read_byte_data", lambda b: b.read_byte_data(0x39, 0x0F), 0x0F, "S 72 A 0F A Sr 73 A 0F N P"),
    ("write_byte_data", lambda b: b.write_byte_data(0x39, 0x01, 0x02), None, "S 72 A 01 A 02 A P"),
    ("read_word_data", lambda b: b.read_word_data(0x39, 0x12), 0x1212, "S 72 A 12 A Sr 73 A 12 A 12 N P"),
    ("write_word_data", lambda b: b.write_word_data(0x39, 0x01, 0xBEEF), None, "S 72 A 01 A EF A BE A P"),
    ("process_call", lambda b: b.process_call(0x39, 0x01, 0x3344), 0x3333,
     "S 72 A 01 A 44 A 33 A Sr 73 A 33 A 33 N P"),
    ("read_block_data", lambda b: b.read_block_data(0x39, 0x03), [3, 3, 3],
     "S 72 A 03 A Sr 73 A 03 A 03 A 03 A 03 N P"),
    ("write_block_data", lambda b: b.write_block_data(0x39, 0x07, [1, 2]), None, "S 72 A 07 A 02 A 01 A 02 A P"),
    ("block_process_call", lambda b: b.block_process_call(0x39, 0x07, [1, 2]), [2, 2],
     "S 72 A 07 A 02 A 01 A 02 A Sr 73 A 02 A 02 A 02 N P"),
    ("read_i2c_block_data", lambda b: b.read_i2c_block_data(0x39, 0x05, 3), [5, 5, 5],
     "S 72 A 05 A Sr 73 A 05 A 05 A 05 N P"),
    ("write_i2c_block_data", lambda b: b.write_i2c_block_data(0x39, 0x05, [6, 7]), None, "S 72 A 05 A 06 A 07 A P"),
    ("i2c_rdwr", lambda b: list(_rdwr(b)), [0x11, 0x11], "S 72 A 11 A Sr 73 A 11 A 11 N P"),
    # With PEC a write carries the CRC of every byte on the wire before it...
    ("pec_write", lambda b: _pec(b).write_byte_data(0x39, 0x01, 0x02), None,
     f"S 72 A 01 A 02 A {crc8(bytes([0x72, 0x01, 0x02])):02X} A P"),
    # ... and a read takes one more byte and checks it (0x20 is its own CRC here).
    ("pec_read", lambda b: _pec(b).read_byte_data(0x39, 0x20), 0x20, "S 72 A 20 A Sr 73 A 20 A 20 N P"),
]


def _rdwr(bus):
    read = i2c_msg.read(0x39, 2)
    bus.i2c_rdwr(i2c_msg.write(0x39, [0x11]), read)
    return read


def _pec(bus):
    bus.pec = 1
    return bus


@pytest.mark.parametrize("call,expected,wire", [c[1:] for c in CALLS], ids=[c[0] for c in CALLS])
def test_every_call_on_the_wire(bus, call, expected, wire):
    assert call(bus) == expected
    assert wirelink.sim.trace() == wire


FAILURES = [
    ("absent_address", lambda b: b.read_byte_data(0x50, 0), errno.ENXIO, "S A0 N P"),
    ("block_count_out_of_range", lambda b: b.read_block_data(0x39, 0x40), errno.EPROTO,
     "S 72 A 40 A Sr 73 A 40 N P"),
    ("pec_mismatch", lambda b: _pec(b).read_byte_data(0x39, 0x0F), errno.EBADMSG, "S 72 A 0F A Sr 73 A 0F A 0F N P"),
    ("address_beyond_7_bits", lambda b: b.write_quick(0x80), errno.EINVAL, ""),
]


@pytest.mark.parametrize("call,code,wire", [f[1:] for f in FAILURES], ids=[f[0] for f in FAILURES])
def test_failures_are_oserrors_naming_the_address(bus, call, code, wire):
    with pytest.raises(OSError) as raised:
        call(bus)
    assert raised.value.errno == code
    assert wirelink.sim.trace() == wire


def test_stuck_clock_times_out(bus):
    wirelink.sim.stick_scl_low(True)
    with pytest.raises(OSError) as raised:
        bus.read_byte_data(0x48, 0x42)
    assert raised.value.errno == errno.ETIMEDOUT
    assert "SCL" in str(raised.value) and "COM1" in str(raised.value)
    assert wirelink.sim.accesses() < 60_000
    wirelink.sim.stick_scl_low(False)
    wirelink.sim.forget_history()
    bus.write_quick(0x39)  # the next transaction clears the bus first
    assert wirelink.sim.trace() == "S P S 72 A P"


@pytest.mark.parametrize(
    "call",
    [
        lambda b: b.write_block_data(0x39, 0, [0] * 33),
        lambda b: b.block_process_call(0x39, 0, [0] * 33),
        lambda b: b.write_i2c_block_data(0x39, 0, [0] * 33),
        lambda b: b.read_i2c_block_data(0x39, 0, 33),
        lambda b: b.write_byte(0x39, 256),
        lambda b: b.write_word_data(0x39, 0, 0x10000),
    ],
)
def test_what_does_not_fit_is_a_value_error_off_the_wire(bus, call):
    with pytest.raises(ValueError):
        call(bus)
    assert wirelink.sim.trace() == ""


def test_crc8_is_the_smbus_packet_error_code():
    assert crc8(b"123456789") == 0xF4


def test_message_iterates_as_ints_and_gives_bytes():
    message = i2c_msg.write(0x39, b"\x01\x02")
    assert (list(message), bytes(message), len(message)) == ([1, 2], b"\x01\x02", 2)
