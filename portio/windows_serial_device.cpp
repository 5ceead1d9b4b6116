#include "windows_serial_device.h"

#include <utility>

#include "uart16550.h"
#include "windows_text.h"

namespace dlportio {
namespace {

constexpr const char *kDeviceDirectory = "\\\\.\\";

uint8_t input_bits(DWORD status) {
    return static_cast<uint8_t>(status & (MS_CTS_ON | MS_DSR_ON | MS_RING_ON | MS_RLSD_ON));
}

class WindowsModemLines final : public ModemLines {
public:
    WindowsModemLines(const SerialApi &api, HANDLE handle, const DCB &saved, DWORD status_at_open)
        : api_(api), handle_(handle), saved_(saved), inputs_at_open_(input_bits(status_at_open)) {}

    ~WindowsModemLines() override {
        api_.set_comm_state(handle_, &saved_);
        api_.close_handle(handle_);
    }

    // Both lines were lowered when the port was opened.
    uint8_t outputs_at_open() const override { return 0; }
    uint8_t inputs_at_open() const override { return inputs_at_open_; }

    LineResult read_inputs(uint8_t &inputs) override {
        DWORD status = 0;
        if (!api_.get_comm_modem_status(handle_, &status)) return lost();
        inputs = input_bits(status);
        return LineResult::done;
    }

    // One call per line that changes.  The adapter's SDA is DTR and its SCL
    // is RTS: when both change, SCL is lowered before SDA changes and raised
    // after it, so that no START or STOP appears between the two calls.
    LineResult drive_outputs(uint8_t from, uint8_t to) override {
        const uint8_t changed = from ^ to;
        const bool scl_falls = (changed & uart16550::kMcrRts) && !(to & uart16550::kMcrRts);
        const bool scl_rises = (changed & uart16550::kMcrRts) && (to & uart16550::kMcrRts);
        if (scl_falls && !escape(CLRRTS)) return lost();
        if ((changed & uart16550::kMcrDtr) && !escape(to & uart16550::kMcrDtr ? SETDTR : CLRDTR))
            return lost();
        if (scl_rises && !escape(SETRTS)) return lost();
        return LineResult::done;
    }

    std::string why_gone() const override { return windows_error_text(gone_error_); }
    // Many USB-serial drivers answer from the status the chip last sent (an
    // FTDI chip sends it once per latency timer period, 16 ms by default),
    // and nothing tells which driver is underneath.
    bool inputs_may_lag() const override { return true; }

private:
    bool escape(DWORD function) { return api_.escape_comm_function(handle_, function) != FALSE; }

    LineResult lost() {
        gone_error_ = api_.get_last_error();
        return LineResult::gone;
    }

    const SerialApi &api_;
    HANDLE handle_;
    DCB saved_;
    uint8_t inputs_at_open_;
    DWORD gone_error_ = 0;
};

}  // namespace

std::string windows_error_text(DWORD error) {
    static const struct {
        DWORD code;
        const char *name;
    } kNames[] = {
        {ERROR_FILE_NOT_FOUND, "ERROR_FILE_NOT_FOUND"},
        {ERROR_PATH_NOT_FOUND, "ERROR_PATH_NOT_FOUND"},
        {ERROR_ACCESS_DENIED, "ERROR_ACCESS_DENIED"},
        {ERROR_INVALID_HANDLE, "ERROR_INVALID_HANDLE"},
        {ERROR_BAD_COMMAND, "ERROR_BAD_COMMAND"},
        {ERROR_GEN_FAILURE, "ERROR_GEN_FAILURE"},
        {ERROR_SHARING_VIOLATION, "ERROR_SHARING_VIOLATION"},
        {ERROR_INVALID_PARAMETER, "ERROR_INVALID_PARAMETER"},
        {ERROR_INVALID_FUNCTION, "ERROR_INVALID_FUNCTION"},
        {ERROR_OPERATION_ABORTED, "ERROR_OPERATION_ABORTED"},
        {ERROR_DEVICE_NOT_CONNECTED, "ERROR_DEVICE_NOT_CONNECTED"},
        {ERROR_DEVICE_REMOVED, "ERROR_DEVICE_REMOVED"},
    };
    std::string text = "Windows error " + std::to_string(error);
    for (const auto &known : kNames) {
        if (known.code == error) return text + " (" + known.name + ")";
    }
    return text;
}

WindowsSerialDevice::WindowsSerialDevice(const SerialApi &api, std::string port, std::string path)
    : api_(api), port_(std::move(port)), path_(std::move(path)) {}

// "COM1" for the port's own device, "COM1 = COM7" for another.
std::string WindowsSerialDevice::label() const {
    if (path_ == kDeviceDirectory + port_) return port_;
    const bool in_directory = path_.starts_with(kDeviceDirectory);
    return port_ + " = " +
           (in_directory ? path_.substr(std::char_traits<char>::length(kDeviceDirectory)) : path_);
}

Opened WindowsSerialDevice::open() {
    const HANDLE handle = api_.create_file(wide(path_).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                           OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return failure(api_.get_last_error());
    Opened opened = claim(handle);
    if (!opened.lines) api_.close_handle(handle);
    return opened;
}

Opened WindowsSerialDevice::failure(DWORD error) const {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEVICE_NOT_CONNECTED:
        return {nullptr, OpenFailure::absent,
                "no such port (is the adapter plugged in? Device Manager lists the COM ports under "
                "\"Ports (COM & LPT)\"; name another with WIRELINK_" +
                    port_ + "=COMn or in wirelink.ini, or set " + port_ + "=off there)"};
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return {nullptr, OpenFailure::in_use,
                "in use by another program (close it: a terminal program, another program on the "
                "adapter)"};
    default:
        return {nullptr, OpenFailure::refused, "cannot be opened: " + windows_error_text(error)};
    }
}

// The lines go low in the order that makes no START or STOP: SCL, then SDA.
Opened WindowsSerialDevice::claim(HANDLE handle) {
    const auto refused = [this](const char *what) {
        return Opened{nullptr, OpenFailure::refused,
                      std::string(what) + " (" + windows_error_text(api_.get_last_error()) + ")"};
    };
    DCB saved{};
    saved.DCBlength = sizeof saved;
    if (!api_.get_comm_state(handle, &saved)) return refused("not a serial port");
    DCB wanted = saved;
    wanted.fDtrControl = DTR_CONTROL_DISABLE;
    wanted.fRtsControl = RTS_CONTROL_DISABLE;
    wanted.fOutxCtsFlow = FALSE;
    wanted.fOutxDsrFlow = FALSE;
    wanted.fDsrSensitivity = FALSE;
    if (!api_.set_comm_state(handle, &wanted)) return refused("its settings cannot be changed");
    DWORD status = 0;
    if (!api_.escape_comm_function(handle, CLRRTS) || !api_.escape_comm_function(handle, CLRDTR) ||
        !api_.get_comm_modem_status(handle, &status)) {
        Opened result = refused("its modem lines cannot be driven and read");
        api_.set_comm_state(handle, &saved);
        return result;
    }
    return {std::make_unique<WindowsModemLines>(api_, handle, saved, status), OpenFailure::none, {}};
}

}  // namespace dlportio
