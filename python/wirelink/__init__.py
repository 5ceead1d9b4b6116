"""wirelink: the I2C bus of a serial-port adapter (or of the simulated bench)
for Python, over libwirelink.so.

    from wirelink import SMBus
    with SMBus("sim") as bus:          # 1 or 2 for COM1 or COM2
        bus.write_byte(0x48, 0x42)
        print(bus.read_byte(0x48))

SMBus is the smbus2 interface, I2C CircuitPython's busio.I2C; Expander,
Converter, Display and the synthesizer classes drive the board's chips with
the library's own drivers.  Failures raise OSError with the errno smbus2
users know (ENXIO, EREMOTEIO, ETIMEDOUT, EBADMSG, ...).
"""

from .busio import I2C
from .chips import Converter, Display, Expander
from .smbus import I2cFunc, SMBus, i2c_msg
from .synthesizers import SDA3302, TBB200, TSA5511, TSA5523, TSA6057

__all__ = [
    "SMBus", "i2c_msg", "I2cFunc", "I2C", "Expander", "Converter", "Display",
    "TSA5511", "TSA5523", "TBB200", "TSA6057", "SDA3302",
]
