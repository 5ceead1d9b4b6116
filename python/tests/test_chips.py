"""The board's chips through the library's drivers, on the wire."""

import errno

import pytest

import wirelink
import wirelink.sim


def test_expander_by_index_or_address():
    expander = wirelink.Expander(0x39)
    expander.value = 0x5A
    assert wirelink.Expander(1).value == 0x5A
    assert wirelink.sim.trace() == "S 72 A 5A A P S 73 A 5A N P"
    with pytest.raises(OSError) as raised:
        wirelink.Expander(7).write(0)
    assert raised.value.errno == errno.ENXIO and "0x3f" in str(raised.value)
    with pytest.raises(ValueError):
        wirelink.Expander(0x40)


def test_converter_reads_its_inputs_and_sets_its_output():
    converter = wirelink.Converter(0x48, vref_mv=2550)
    assert converter.read(2) == 100  # 1.0 V
    converter.output_mv = 2500
    assert converter.output_mv == 2490  # code 250
    assert converter.read_all()[0] == 250  # AIN0 is the output looped back
    assert "S 90 A 40 A FA A P" in wirelink.sim.trace()
    with pytest.raises(ValueError):
        converter.read(4)


def test_display_prints_reads_and_clears():
    display = wirelink.Display()
    display.print("Hello, bench", line=2)
    assert display.read(2) == "Hello, bench    "
    display.clear()
    assert display.read(2) == " " * 16
    with pytest.raises(ValueError):
        display.print("x" * 17)


# The board has no synthesizer: every send goes unanswered, after the bytes
# the command-line tool shows for the same frequencies.
SYNTHESIZERS = [
    (lambda: wirelink.TSA5511(), 145_500_000, 145_500_000, [b"\xc0\x09\x18\x8e\x00"]),
    (lambda: wirelink.TSA5523(offset=2), 145_500_000, 145_500_000, [b"\xc2\x0e\x48\x8e\xa0"]),
    (lambda: wirelink.SDA3302(), 145_500_000, 145_450_000, [b"\xc0\x0b\x6c\xce\x02"]),
    (lambda: wirelink.TSA6057(step=25_000), 98_100_000, 98_100_000, [b"\xc4\x00\xa9\x1e\x84\x00"]),
    (lambda: wirelink.TBB200(), 145_000_000, 145_000_000,
     [b"\xc4\x08\xf8", b"\xc4\x04\x02\x00", b"\xc4\x0c\x16\xa8"]),
]


@pytest.mark.parametrize("make,hz,gives,transactions", SYNTHESIZERS, ids=lambda v: getattr(v, "__name__", None))
def test_synthesizers_compute_and_send_their_bytes(make, hz, gives, transactions):
    chip = make()
    assert chip.calc(hz) == gives and list(chip.bytes) == transactions
    assert wirelink.sim.trace() == ""
    with pytest.raises(OSError) as raised:
        chip.tune(hz)
    assert raised.value.errno == errno.ENXIO
    assert wirelink.sim.trace().startswith("S " + transactions[0][:1].hex().upper() + " N")


def test_a_divider_out_of_range_is_a_value_error():
    with pytest.raises(ValueError):
        wirelink.TSA5511().calc(2_100_000_000)
