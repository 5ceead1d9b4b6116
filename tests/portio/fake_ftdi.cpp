#include "fake_ftdi.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr int kNoDevice = -666;  // libftdi's "USB device unavailable"

FakeFtdi *current = nullptr;

FakeFtdiCable *cable_of(ftdi_context *ftdi) {
    const auto it = current->opened.find(ftdi);
    return it == current->opened.end() ? nullptr : it->second;
}

libusb_device *device_of(std::size_t index) { return reinterpret_cast<libusb_device *>(index + 1); }

FakeFtdiCable *cable_at(libusb_device *device) {
    const auto index = reinterpret_cast<std::uintptr_t>(device) - 1;
    return index < current->cables.size() ? &current->cables[index] : nullptr;
}

ftdi_context *new_context() {
    auto *ftdi = new ftdi_context{};
    ftdi->module_detach_mode = AUTO_DETACH_SIO_MODULE;
    ftdi->error_str = "";
    return ftdi;
}

void free_context(ftdi_context *ftdi) {
    if (FakeFtdiCable *cable = cable_of(ftdi)) cable->open = false;
    current->opened.erase(ftdi);
    delete ftdi;
}

int set_interface(ftdi_context *ftdi, ftdi_interface interface) {
    ftdi->interface = interface;
    return 0;
}

int find_all(ftdi_context *, ftdi_device_list **devices, int, int) {
    int count = 0;
    ftdi_device_list **next = devices;
    for (std::size_t i = 0; i < current->cables.size(); ++i) {
        if (!current->cables[i].plugged) continue;
        *next = new ftdi_device_list{nullptr, device_of(i)};
        next = &(*next)->next;
        ++count;
    }
    *next = nullptr;
    return count;
}

void free_list(ftdi_device_list **devices) {
    while (*devices != nullptr) {
        ftdi_device_list *next = (*devices)->next;
        delete *devices;
        *devices = next;
    }
}

void copy(char *to, int size, const std::string &text) {
    if (to == nullptr || size <= 0) return;
    std::strncpy(to, text.c_str(), static_cast<std::size_t>(size) - 1);
    to[size - 1] = '\0';
}

int get_strings(ftdi_context *, libusb_device *device, char *manufacturer, int manufacturer_size,
                char *description, int description_size, char *serial, int serial_size) {
    const FakeFtdiCable *cable = cable_at(device);
    if (cable == nullptr || !cable->plugged) return -9;
    copy(manufacturer, manufacturer_size, "FTDI");
    copy(description, description_size, cable->description);
    copy(serial, serial_size, cable->serial);
    return 0;
}

int open_device(ftdi_context *ftdi, libusb_device *device) {
    FakeFtdiCable *cable = cable_at(device);
    if (cable == nullptr || !cable->plugged) return -3;
    cable->calls.push_back("open");
    if (cable->open_error != 0) {
        ftdi->error_str = cable->open_error == -5 ? "unable to claim usb device" : "usb_open() failed";
        return cable->open_error;
    }
    cable->open = true;
    cable->interface = ftdi->interface;
    cable->detach_mode = ftdi->module_detach_mode;
    ftdi->type = cable->type;
    // Opening resets the chip: UART mode, DTR and RTS deasserted.
    cable->mode = BITMODE_RESET;
    cable->mask = 0;
    current->opened[ftdi] = cable;
    return 0;
}

// Every call on a cable that was pulled out fails as libftdi's do.
FakeFtdiCable *live(ftdi_context *ftdi) {
    FakeFtdiCable *cable = cable_of(ftdi);
    if (cable != nullptr && !cable->plugged) {
        ftdi->error_str = "USB device unavailable";
        return nullptr;
    }
    return cable;
}

int close(ftdi_context *ftdi) {
    if (FakeFtdiCable *cable = cable_of(ftdi)) {
        cable->calls.push_back("close");
        cable->open = false;
    }
    current->opened.erase(ftdi);
    return 0;
}

int set_bitmode(ftdi_context *ftdi, unsigned char mask, unsigned char mode) {
    FakeFtdiCable *cable = live(ftdi);
    if (cable == nullptr) return kNoDevice;
    cable->calls.push_back("bitmode " + std::to_string(mask) + " " + std::to_string(mode));
    cable->mode = mode;
    cable->mask = mode == BITMODE_RESET ? 0 : mask;
    cable->write_byte(cable->latch);  // the outputs take the latch at once, nothing sampled
    cable->samples.clear();
    cable->outstanding = 0;
    return 0;
}

int set_baudrate(ftdi_context *ftdi, int baudrate) {
    FakeFtdiCable *cable = live(ftdi);
    if (cable == nullptr) return kNoDevice;
    cable->calls.push_back("baudrate " + std::to_string(baudrate));
    cable->baudrate = baudrate;
    return 0;
}

int set_latency_timer(ftdi_context *ftdi, unsigned char milliseconds) {
    FakeFtdiCable *cable = live(ftdi);
    if (cable == nullptr) return kNoDevice;
    cable->latency = milliseconds;
    return 0;
}

int read_pins(ftdi_context *ftdi, unsigned char *pins) {
    FakeFtdiCable *cable = live(ftdi);
    if (cable == nullptr) return kNoDevice;
    cable->calls.push_back("read_pins");
    *pins = cable->pins();
    return 0;
}

int write_data(ftdi_context *ftdi, const unsigned char *buffer, int size) {
    FakeFtdiCable *cable = live(ftdi);
    if (cable == nullptr) return kNoDevice;
    if (cable->unplug_after_writes == cable->writes) {
        cable->plugged = false;
        return kNoDevice;
    }
    ++cable->writes;
    for (int i = 0; i < size; ++i) {
        if (cable->mode == BITMODE_SYNCBB) cable->samples.push_back(cable->pins());
        cable->write_byte(buffer[i]);
    }
    if (cable->mode == BITMODE_SYNCBB) {
        cable->outstanding += static_cast<uint32_t>(size);
        cable->most_outstanding = std::max(cable->most_outstanding, cable->outstanding);
    }
    return size;
}

// A packet at a time; a partial one only once a read has found it waiting.
int read_data(ftdi_context *ftdi, unsigned char *buffer, int size) {
    FakeFtdiCable *cable = live(ftdi);
    if (cable == nullptr) return kNoDevice;
    ++cable->reads;
    const std::size_t waiting = cable->samples.size();
    if (waiting == 0) return 0;
    if (waiting < cable->packet && !cable->partial_seen) {
        cable->partial_seen = true;
        ++cable->latency_waits;
        return 0;
    }
    cable->partial_seen = false;
    const std::size_t count =
        std::min({waiting, static_cast<std::size_t>(cable->packet), static_cast<std::size_t>(size)});
    std::copy_n(cable->samples.begin(), count, buffer);
    cable->samples.erase(cable->samples.begin(), cable->samples.begin() + static_cast<std::ptrdiff_t>(count));
    cable->outstanding -= static_cast<uint32_t>(count);
    return static_cast<int>(count);
}

int flush(ftdi_context *ftdi) {
    FakeFtdiCable *cable = live(ftdi);
    if (cable == nullptr) return kNoDevice;
    cable->samples.clear();
    cable->outstanding = 0;
    return 0;
}

const char *error_string(ftdi_context *ftdi) { return ftdi->error_str; }

}  // namespace

// Outputs show the latch; inputs read the bus, asserted (0) when high.
uint8_t FakeFtdiCable::pins() const {
    uint8_t inputs = 0xFF;
    if (bus != nullptr) {
        if (bus->scl()) inputs &= static_cast<uint8_t>(~0x08);
        if (bus->sda()) inputs &= static_cast<uint8_t>(~0x20);
    }
    return static_cast<uint8_t>((latch & mask) | (inputs & ~mask));
}

// An output pin at 0 asserts its line, which releases the adapter's line.
void FakeFtdiCable::write_byte(uint8_t byte) {
    const uint8_t before = pins();
    latch = byte;
    if (((before ^ pins()) & 0x14) != 0) {
        ++line_changes;
        line_states.push_back(pins() & 0x14);
    }
    if (bus == nullptr) return;
    const uint8_t levels = pins();
    bus->drive((levels & 0x10) == 0, (levels & 0x04) == 0);
    bus->tick();
}

FakeFtdi::FakeFtdi() { current = this; }
FakeFtdi::~FakeFtdi() { current = nullptr; }

FakeFtdiCable &FakeFtdi::add(const std::string &serial) {
    cables.emplace_back();
    cables.back().serial = serial;
    return cables.back();
}

const dlportio::FtdiApi &FakeFtdi::api() const {
    static const dlportio::FtdiApi fake{
        new_context, free_context, set_interface, find_all,     free_list,         get_strings,
        open_device, close,        set_bitmode,   set_baudrate, set_latency_timer, read_pins,
        write_data,  read_data,    flush,         error_string};
    return fake;
}
