"""The smbus2 interface on the serial-port adapter: same methods, same
signatures, same results, each call one atomic transaction."""

import errno
from enum import IntFlag

from . import _port
from ._exports import WIRELINK_MSG_READ, WIRELINK_MSG_RECV_LEN

I2C_SMBUS_BLOCK_MAX = 32


class I2cFunc(IntFlag):
    """What a bus can do (the I2C_FUNC_* bits of linux/i2c.h)."""

    I2C = 0x00000001
    ADDR_10BIT = 0x00000002
    PROTOCOL_MANGLING = 0x00000004
    SMBUS_PEC = 0x00000008
    NOSTART = 0x00000010
    SLAVE = 0x00000020
    SMBUS_BLOCK_PROC_CALL = 0x00008000
    SMBUS_QUICK = 0x00010000
    SMBUS_READ_BYTE = 0x00020000
    SMBUS_WRITE_BYTE = 0x00040000
    SMBUS_READ_BYTE_DATA = 0x00080000
    SMBUS_WRITE_BYTE_DATA = 0x00100000
    SMBUS_READ_WORD_DATA = 0x00200000
    SMBUS_WRITE_WORD_DATA = 0x00400000
    SMBUS_PROC_CALL = 0x00800000
    SMBUS_READ_BLOCK_DATA = 0x01000000
    SMBUS_WRITE_BLOCK_DATA = 0x02000000
    SMBUS_READ_I2C_BLOCK = 0x04000000
    SMBUS_WRITE_I2C_BLOCK = 0x08000000
    SMBUS_HOST_NOTIFY = 0x10000000
    SMBUS_BYTE = SMBUS_READ_BYTE | SMBUS_WRITE_BYTE
    SMBUS_BYTE_DATA = SMBUS_READ_BYTE_DATA | SMBUS_WRITE_BYTE_DATA
    SMBUS_WORD_DATA = SMBUS_READ_WORD_DATA | SMBUS_WRITE_WORD_DATA
    SMBUS_BLOCK_DATA = SMBUS_READ_BLOCK_DATA | SMBUS_WRITE_BLOCK_DATA
    SMBUS_I2C_BLOCK = SMBUS_READ_I2C_BLOCK | SMBUS_WRITE_I2C_BLOCK
    SMBUS_EMUL = (
        SMBUS_QUICK | SMBUS_BYTE | SMBUS_BYTE_DATA | SMBUS_WORD_DATA | SMBUS_PROC_CALL
        | SMBUS_WRITE_BLOCK_DATA | SMBUS_I2C_BLOCK | SMBUS_PEC
    )


# Everything but 10-bit addresses, mangling, NOSTART, slave mode and host notify.
FUNCS = I2cFunc.I2C | I2cFunc.SMBUS_EMUL | I2cFunc.SMBUS_READ_BLOCK_DATA | I2cFunc.SMBUS_BLOCK_PROC_CALL


def crc8(data):
    """SMBus packet error code: CRC-8, polynomial x^8 + x^2 + x + 1."""
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = ((crc << 1) ^ 0x07) & 0xFF if crc & 0x80 else (crc << 1) & 0xFF
    return crc


def _check(value, name, highest):
    if not isinstance(value, int) or not 0 <= value <= highest:
        raise ValueError(f"{name} {value!r} is not 0..{highest:#x}")
    return value


def _block(data):
    data = list(data)
    if len(data) > I2C_SMBUS_BLOCK_MAX:
        raise ValueError(f"Data length cannot exceed {I2C_SMBUS_BLOCK_MAX} bytes")
    return [_check(b, "byte", 0xFF) for b in data]


class i2c_msg:
    """One message of i2c_rdwr: i2c_msg.read(address, length) or
    i2c_msg.write(address, data).  It iterates as ints, and bytes(msg) and
    len(msg) give its data."""

    def __init__(self, addr, flags, buf, length):
        self.addr = addr
        self.flags = flags
        self.buf = buf
        self.len = length

    @staticmethod
    def read(address, length):
        return i2c_msg(address, WIRELINK_MSG_READ, bytearray(length), length)

    @staticmethod
    def write(address, buf):
        data = bytearray(map(ord, buf)) if isinstance(buf, str) else bytearray(buf)
        return i2c_msg(address, 0, data, len(data))

    def __iter__(self):
        return iter(self.buf[: self.len])

    def __len__(self):
        return self.len

    def __bytes__(self):
        return bytes(self.buf[: self.len])

    def __repr__(self):
        return f"i2c_msg({self.addr}, {self.flags}, {bytes(self)!r})"

    def __str__(self):
        return bytes(self).decode("latin-1")


class SMBus:
    """An SMBus on the adapter: bus 1 or 2 (COM1, COM2), "search", or "sim"
    for the simulated bench."""

    def __init__(self, bus=None, force=False):
        self.fd = None
        self.funcs = I2cFunc(0)
        self.address = None
        self.force = force
        self._force_last = None
        self._pec = 0
        self._port = None
        if bus is not None:
            self.open(bus)

    def __enter__(self):
        return self

    def __exit__(self, exc_type, exc_val, exc_tb):
        self.close()

    def __del__(self):
        try:
            self.close()
        except Exception:  # at interpreter exit the module may be gone
            pass

    def open(self, bus):
        self.close()
        self._port = _port.Port(bus)
        self.fd = self._port.base
        self.funcs = FUNCS

    def close(self):
        port, self._port = getattr(self, "_port", None), None
        if port is not None:
            port.close()
            self.fd = None
            self._pec = 0

    @property
    def pec(self):
        return self._pec

    @pec.setter
    def pec(self, enable):
        self.enable_pec(enable)

    def enable_pec(self, enable=True):
        if not (self.funcs & I2cFunc.SMBUS_PEC):
            raise IOError("SMBUS_PEC is not a feature")
        self._pec = int(enable)

    # --- the transaction every call is -------------------------------------

    def _set_address(self, address, force=None):
        if not isinstance(address, int) or not 0 <= address <= 0x7F:
            raise OSError(errno.EINVAL, f"Invalid argument: address {address!r} is not a 7-bit address (0..0x7f)")
        self.address = address
        self._force_last = self.force if force is None else force

    def _port_or_fail(self):
        if self._port is None:
            raise OSError(errno.EBADF, "Bad file descriptor: the bus is not open (SMBus(1), or open(bus))")
        return self._port

    def _call(self, address, sent, read=0, block=False, pec=True, force=None):
        """Writes sent, then with read or block reads, as one transaction; the
        bytes read (a block without its count), checked against the PEC."""
        port = self._port_or_fail()
        self._set_address(address, force)
        use_pec = pec and bool(self._pec)
        out = bytearray(sent)
        reading = read > 0 or block
        wire_head = bytes([address << 1]) + out if out or not reading else b""
        if use_pec and not reading:
            out.append(crc8(wire_head))
        messages = []
        if out or not reading:
            messages.append((address, 0, out, len(out)))
        if reading:
            length = (1 if block else read) + (1 if use_pec else 0)
            buffer = bytearray(length + (I2C_SMBUS_BLOCK_MAX if block else 0))
            flags = WIRELINK_MSG_READ | (WIRELINK_MSG_RECV_LEN if block else 0)
            messages.append((address, flags, buffer, length))
        port.transfer(messages)
        if not reading:
            return None
        count = 1 + buffer[0] if block else read
        data = buffer[:count]
        if use_pec and crc8(wire_head + bytes([address << 1 | 1]) + data) != buffer[count]:
            raise _port.failure(errno.EBADMSG, [address], port.name)
        return list(data[1:] if block else data)

    # --- the SMBus calls -----------------------------------------------------

    def write_quick(self, i2c_addr, force=None):
        self._call(i2c_addr, b"", pec=False, force=force)

    def read_byte(self, i2c_addr, force=None):
        return self._call(i2c_addr, b"", read=1, force=force)[0]

    def write_byte(self, i2c_addr, value, force=None):
        self._call(i2c_addr, [_check(value, "value", 0xFF)], force=force)

    def read_byte_data(self, i2c_addr, register, force=None):
        return self._call(i2c_addr, [_check(register, "register", 0xFF)], read=1, force=force)[0]

    def write_byte_data(self, i2c_addr, register, value, force=None):
        self._call(i2c_addr, [_check(register, "register", 0xFF), _check(value, "value", 0xFF)], force=force)

    def read_word_data(self, i2c_addr, register, force=None):
        low, high = self._call(i2c_addr, [_check(register, "register", 0xFF)], read=2, force=force)
        return low | high << 8

    def write_word_data(self, i2c_addr, register, value, force=None):
        _check(value, "value", 0xFFFF)
        self._call(i2c_addr, [_check(register, "register", 0xFF), value & 0xFF, value >> 8], force=force)

    def process_call(self, i2c_addr, register, value, force=None):
        _check(value, "value", 0xFFFF)
        sent = [_check(register, "register", 0xFF), value & 0xFF, value >> 8]
        low, high = self._call(i2c_addr, sent, read=2, force=force)
        return low | high << 8

    def read_block_data(self, i2c_addr, register, force=None):
        return self._call(i2c_addr, [_check(register, "register", 0xFF)], block=True, force=force)

    def write_block_data(self, i2c_addr, register, data, force=None):
        data = _block(data)
        self._call(i2c_addr, [_check(register, "register", 0xFF), len(data)] + data, force=force)

    def block_process_call(self, i2c_addr, register, data, force=None):
        data = _block(data)
        sent = [_check(register, "register", 0xFF), len(data)] + data
        return self._call(i2c_addr, sent, block=True, force=force)

    def read_i2c_block_data(self, i2c_addr, register, length, force=None):
        if not isinstance(length, int) or not 1 <= length <= I2C_SMBUS_BLOCK_MAX:
            raise ValueError(f"Desired block length over {I2C_SMBUS_BLOCK_MAX} bytes")
        return self._call(i2c_addr, [_check(register, "register", 0xFF)], read=length, pec=False, force=force)

    def write_i2c_block_data(self, i2c_addr, register, data, force=None):
        data = _block(data)
        self._call(i2c_addr, [_check(register, "register", 0xFF)] + data, pec=False, force=force)

    def i2c_rdwr(self, *i2c_msgs):
        """The messages as one transaction (repeated STARTs, one STOP)."""
        port = self._port_or_fail()
        messages = []
        for msg in i2c_msgs:
            if msg.flags & WIRELINK_MSG_RECV_LEN and len(msg.buf) < msg.len + I2C_SMBUS_BLOCK_MAX:
                msg.buf.extend(bytes(msg.len + I2C_SMBUS_BLOCK_MAX - len(msg.buf)))
            messages.append((msg.addr, msg.flags, msg.buf, msg.len))
        port.transfer(messages)
        for msg in i2c_msgs:
            if msg.flags & WIRELINK_MSG_RECV_LEN:
                msg.len += msg.buf[0]
