"""wirelink.SMBus against Debian's python3-smbus2: the same signatures, and a
snippet written for smbus2 runs on it unchanged."""

import inspect
import sys

import pytest

import wirelink
import wirelink.sim

smbus2 = pytest.importorskip("smbus2")


def public(cls):
    return sorted(
        name for name, member in vars(cls).items()
        if callable(member) and (not name.startswith("_") or name in ("__init__", "__enter__", "__exit__"))
    )


def test_every_smbus2_method_is_there_with_its_signature():
    theirs = public(smbus2.SMBus)
    assert set(theirs) <= set(public(wirelink.SMBus))
    for name in theirs:
        assert inspect.signature(getattr(wirelink.SMBus, name)) == inspect.signature(
            getattr(smbus2.SMBus, name)
        ), name
    assert isinstance(vars(wirelink.SMBus)["pec"], property)


def test_messages_and_function_bits_match():
    for name in ("read", "write"):
        assert inspect.signature(getattr(wirelink.i2c_msg, name)) == inspect.signature(
            getattr(smbus2.i2c_msg, name)
        )
    assert {m.name: m.value for m in smbus2.I2cFunc} == {m.name: m.value for m in wirelink.I2cFunc}


SNIPPET = """
from smbus2 import SMBus, i2c_msg

with SMBus(BUS) as bus:
    bus.write_byte(0x48, 0x42)        # PCF8591: AIN2, output on
    bus.read_byte(0x48)               # the conversion before
    level = bus.read_byte(0x48)
    bus.write_i2c_block_data(0x48, 0x40, [0x80])
    write = i2c_msg.write(0x48, [0x40])
    read = i2c_msg.read(0x48, 2)
    bus.i2c_rdwr(write, read)
    loop = list(read)[1]
"""


def test_an_smbus2_snippet_runs_unchanged(monkeypatch):
    monkeypatch.setitem(sys.modules, "smbus2", wirelink)
    scope = {"BUS": "sim"}
    exec(SNIPPET, scope)
    assert scope["level"] == 100  # 1.0 V of 2.55 V
    assert scope["loop"] == 0x80  # the output, looped back into AIN0
    assert wirelink.sim.trace().startswith("S 90 A 42 A P S 91 A ")
    assert "S 90 A 40 A 80 A P" in wirelink.sim.trace()
