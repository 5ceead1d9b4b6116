#include "ftdi_device.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "ftdi_lines.h"
#include "ftdi_pins.h"

namespace dlportio {
namespace {

constexpr const char *kUdevRule = "examples/60-wirelink-ftdi.rules";

ftdi_interface interface_of(char letter) {
    switch (letter) {
    case 'B':
        return INTERFACE_B;
    case 'C':
        return INTERFACE_C;
    case 'D':
        return INTERFACE_D;
    default:
        return INTERFACE_A;
    }
}

std::string error_text(const FtdiApi &api, ftdi_context *ftdi) {
    const char *text = api.error_string(ftdi);
    return text != nullptr ? text : "";
}

// The FT230X and FT234X bring out TXD, RXD, RTS# and CTS# only.
bool lacks_dtr_and_dsr(const ftdi_context *ftdi, const std::string &description) {
    return ftdi->type == TYPE_230X &&
           (description.find("230X") != std::string::npos || description.find("234X") != std::string::npos);
}

using Context = std::unique_ptr<ftdi_context, void (*)(ftdi_context *)>;

}  // namespace

struct FtdiDevice::Found {
    libusb_device *device;
    FtdiCable cable;
};

std::vector<FtdiCable> list_ftdi_cables(const FtdiApi &api, std::string &error) {
    std::vector<FtdiCable> cables;
    ftdi_context *ftdi = api.new_context();
    if (ftdi == nullptr) {
        error = "libftdi cannot start";
        return cables;
    }
    ftdi_device_list *devices = nullptr;
    if (api.find_all(ftdi, &devices, 0, 0) < 0) error = "cannot list USB devices: " + error_text(api, ftdi);
    for (ftdi_device_list *entry = devices; entry != nullptr; entry = entry->next) {
        char description[128] = {}, serial[128] = {};
        if (api.get_strings(ftdi, entry->dev, nullptr, 0, description, sizeof description, serial,
                            sizeof serial) < 0)
            continue;  // gone meanwhile, or not ours to read
        cables.push_back({description, serial, kFtdiPrefix + std::string(serial)});
    }
    api.free_list(&devices);
    api.free_context(ftdi);
    return cables;
}

FtdiDevice::FtdiDevice(const FtdiApi &api, SystemCalls &system, std::string port, FtdiName name,
                       std::filesystem::path lock_dir)
    : api_(api),
      system_(system),
      port_(std::move(port)),
      name_(std::move(name)),
      lock_dir_(std::move(lock_dir)) {}

std::string FtdiDevice::label() const { return port_ + " = " + ftdi_name_text(name_); }

Opened FtdiDevice::open() {
    Context ftdi(api_.new_context(), api_.free_context);
    if (!ftdi) return {nullptr, OpenFailure::refused, "libftdi cannot start"};
    // The kernel gives the tty back when the interface is released.
    ftdi->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
    if (api_.set_interface(ftdi.get(), interface_of(name_.interface)) < 0)
        return {nullptr, OpenFailure::refused, "no interface " + std::string(1, name_.interface)};
    ftdi_device_list *devices = nullptr;
    if (api_.find_all(ftdi.get(), &devices, 0, 0) < 0)
        return {nullptr, OpenFailure::refused, "cannot list USB devices: " + error_text(api_, ftdi.get())};
    std::vector<Found> matching;
    for (ftdi_device_list *entry = devices; entry != nullptr; entry = entry->next) {
        char description[128] = {}, serial[128] = {};
        if (api_.get_strings(ftdi.get(), entry->dev, nullptr, 0, description, sizeof description, serial,
                             sizeof serial) < 0)
            continue;
        if (name_.serial.empty() || name_.serial == serial)
            matching.push_back({entry->dev, {description, serial, kFtdiPrefix + std::string(serial)}});
    }
    Opened opened;
    if (matching.empty()) {
        opened = {nullptr, OpenFailure::absent, "no such FTDI cable is plugged in"};
    } else if (matching.size() > 1) {
        std::string names;
        for (const Found &found : matching) names += (names.empty() ? "" : ", ") + found.cable.name;
        opened = {nullptr, OpenFailure::refused,
                  "more than one FTDI cable is plugged in (" + names + "); name one of them"};
    } else {
        opened = open_found(ftdi.get(), matching.front());
        if (opened.lines) ftdi.release();  // the lines own it now
    }
    api_.free_list(&devices);
    return opened;
}

Opened FtdiDevice::open_found(ftdi_context *ftdi, const Found &found) {
    Opened refusal;
    const int lock_fd = take_lock(found.cable.serial, refusal);
    if (lock_fd < 0) return refusal;
    const int result = api_.open_device(ftdi, found.device);
    Opened opened;
    if (result == -4 || result == -8) {
        opened = {nullptr, OpenFailure::refused,
                  "no permission to open the USB device (" + error_text(api_, ftdi) +
                      "); install the udev rule " + kUdevRule +
                      " into /etc/udev/rules.d and plug the cable in again"};
    } else if (result == -5) {
        opened = {nullptr, OpenFailure::in_use, "in use by another program"};
    } else if (result < 0) {
        opened = {nullptr, OpenFailure::absent, "cannot open the cable: " + error_text(api_, ftdi)};
    } else if (ftdi->type == TYPE_AM || ftdi->type == TYPE_BM) {
        opened = {nullptr, OpenFailure::refused,
                  "this FTDI chip has no synchronous bit-bang mode; name its /dev/ttyUSB device instead"};
    } else if (lacks_dtr_and_dsr(ftdi, found.cable.description)) {
        opened = {nullptr, OpenFailure::refused,
                  "an FT230X or FT234X (\"" + found.cable.description +
                      "\") has no DTR and DSR pins, so it cannot carry the adapter"};
    } else {
        return start_bit_bang(ftdi, lock_fd);
    }
    if (result >= 0) api_.close(ftdi);
    system_.close_device(lock_fd);
    return opened;
}

// All pins are made inputs first, and the outputs are then driven with the
// levels that the pins show, so that entering bit-bang mode makes no glitch.
Opened FtdiDevice::start_bit_bang(ftdi_context *ftdi, int lock_fd) {
    const FtdiChip chip = ftdi_chip(ftdi->type);
    unsigned char pins = 0;
    bool ready = api_.set_latency_timer(ftdi, 1) >= 0 && api_.read_pins(ftdi, &pins) >= 0;
    pins |= ftdi_pins::kTxd;  // TXD idles high
    ready = ready && api_.set_bitmode(ftdi, 0, BITMODE_SYNCBB) >= 0 &&
            api_.set_baudrate(ftdi, static_cast<int>(ftdi_steps_per_second(chip, 0))) >= 0 &&
            api_.write_data(ftdi, &pins, 1) == 1 &&
            api_.set_bitmode(ftdi, ftdi_pins::kOutputMask, BITMODE_SYNCBB) >= 0 && api_.flush(ftdi) >= 0;
    if (!ready) {
        const std::string why = error_text(api_, ftdi);
        api_.close(ftdi);
        system_.close_device(lock_fd);
        return {nullptr, OpenFailure::refused, "cannot start bit-bang mode: " + why};
    }
    SystemCalls &system = system_;
    auto lines = std::make_unique<FtdiLines>(api_, ftdi, system_, chip, pins,
                                             [&system, lock_fd] { system.close_device(lock_fd); });
    return {std::move(lines), OpenFailure::none, ""};
}

// A lock file per cable and interface; minus one with the refusal filled in
// when it cannot be had.
int FtdiDevice::take_lock(const std::string &serial, Opened &refusal) {
    const std::string file = "wirelink-ftdi-" + serial + "-" + std::string(1, name_.interface) + ".lock";
    std::filesystem::path path = lock_dir_ / file;
    int fd = system_.open_lock_file(path.string());
    if (fd == -EACCES || fd == -EROFS || fd == -ENOENT) {
        if (const auto runtime = system_.environment("XDG_RUNTIME_DIR"); runtime && !runtime->empty()) {
            path = std::filesystem::path(*runtime) / file;
            fd = system_.open_lock_file(path.string());
        }
    }
    if (fd < 0) {
        refusal = {nullptr, OpenFailure::refused,
                   "cannot open the lock file " + path.string() + ": " + std::strerror(-fd)};
        return -1;
    }
    if (const int error = system_.lock(fd)) {
        system_.close_device(fd);
        refusal = error == EWOULDBLOCK ? Opened{nullptr, OpenFailure::in_use, "in use by another program"}
                                       : Opened{nullptr, OpenFailure::refused,
                                                "cannot lock " + path.string() + ": " + std::strerror(error)};
        return -1;
    }
    return fd;
}

}  // namespace dlportio
