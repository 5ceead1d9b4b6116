"""Every test runs on the simulated bench's default board: the display's
expander at 0x38, expanders at 0x39 and 0x3a, the PCF8591 at 0x48 (AIN2 at
1.0 V, AIN3 at 2.0 V of a 2.55 V reference, AIN0 its own output)."""

import pytest

import wirelink
import wirelink.sim


@pytest.fixture(scope="session")
def bus():
    with wirelink.SMBus("sim") as opened:
        yield opened


@pytest.fixture(autouse=True)
def clean_bench(bus):
    """A fresh trace before each test; no test may break the bus."""
    wirelink.sim.stick_scl_low(False)
    bus.pec = 0
    wirelink.sim.forget_history()
    before = wirelink.sim.violations()
    yield
    wirelink.sim.stick_scl_low(False)
    assert wirelink.sim.violations() == before
