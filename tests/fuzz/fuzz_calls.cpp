// libFuzzer target: programs of calls to every export of wirelink,
// interleaved with faults on the simulated bench (a stuck or stretched
// clock, a stuck data line, absent chips, withheld acknowledges, a busy
// display, an unplugged adapter).  After every call it checks what the
// interface promises:
// - no port access outside the claimed port's eight registers, and none at
//   all while no port is claimed (a claim may probe both serial ports);
// - results within their documented ranges;
// - caller buffers and records written nowhere beyond their bounds;
// - at most kMostAccessesPerCall port accesses in one call;
// - a call whose clock was dead throughout reports failure and stores
//   nothing it did not clock in.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>

#include "fuzz_board.h"
#include "fuzz_input.h"
#include "guarded.h"
#include "wirelink.h"

namespace {

using wlsim::kCom1;
using wlsim::kCom2;

// The longest healthy call, a 31-character lcd_read_str on a display that
// stays busy (some 7,500 expander transactions of ~210 accesses at delay 1),
// plus the stretching a call may spend (1,000,000 status reads) and one
// wait's worth outside it.
constexpr uint64_t kMostAccessesPerCall = 3'000'000;
constexpr int kMostSteps = 48;

struct Run {
    FuzzBoard &board;
    FuzzInput &in;
    const char *call = "";
    int32_t claimed = 0;
    bool display_initialised = false;
    bool probes_ports = false;  // this call may touch both serial ports
    pcf8591_state converter{};
    tsa5511_state tsa5511{};
    tsa5523_state tsa5523{};
    tbb200_state tbb200{};
    tsa6057_state tsa6057{};
    sda3302_state sda3302{};

    // Nothing can be clocked during this call: a port is claimed and either
    // it has no adapter or the adapter's clock is dead.
    bool dead() const {
        return claimed != 0 && (claimed != static_cast<int32_t>(kCom1) || board.clock_dead());
    }

    void check(bool ok, const char *what) const {
        if (ok) return;
        std::fprintf(stderr, "wirelink fuzz: %s: %s\n", call, what);
        std::abort();
    }
    void flag(int32_t result) const { check(result == 0 || result == 1, "result not 0 or 1"); }
    void byte(int32_t result) const { check(result >= 0 && result <= 0xFF, "result not a byte"); }
    void sent(int32_t result) const {
        flag(result);
        check(!dead() || result == 0, "success reported on a dead clock");
    }
};

// A worker on one of the run's records, placed between guard bytes, or now
// and then on a null record, which must be refused without bus traffic.
template <typename Record, typename Call>
int32_t on_record(Run &r, Record &record, Call call, bool *unchanged = nullptr) {
    if (r.in.pick(16) == 0) {
        const int32_t result = call(static_cast<Record *>(nullptr));
        r.check(r.board.bench.accesses() == 0, "null record touched the bus");
        return result;
    }
    Guarded<sizeof(Record)> guarded(record);
    const int32_t result = call(guarded.template as<Record>());
    r.check(guarded.intact(), "wrote outside the record");
    const Record after = guarded.template value<Record>();
    if (unchanged != nullptr) *unchanged = std::memcmp(&after, &record, sizeof record) == 0;
    record = after;
    return result;
}

void ok_zero(Run &r, int32_t result) { r.check(result == 0, "result not 0"); }

// ---- adapter, lines and primitives -------------------------------------

void call_init_iic(Run &r) {
    r.probes_ports = true;
    r.claimed = init_iic(r.in.int32());
    r.check(r.claimed == 0 || r.claimed == static_cast<int32_t>(kCom1) ||
                r.claimed == static_cast<int32_t>(kCom2),
            "claimed no serial port");
}

void call_lines(Run &r) {
    switch (r.in.pick(12)) {
    case 0:
        ok_zero(r, deinit_iic());
        break;
    case 1: {
        const int32_t delay = r.in.pick(2);  // larger delays only scale the same sequences
        r.check(set_port_delay(delay) == delay, "delay not returned");
        break;
    }
    case 2:
        ok_zero(r, wait_port());
        break;
    case 3: {
        const int32_t probe = iic_ok();
        r.check(probe >= 0 && probe <= 0xFF, "probe not a status byte");
        break;
    }
    case 4:
        ok_zero(r, sda_high());
        break;
    case 5:
        ok_zero(r, sda_low());
        break;
    case 6:
        ok_zero(r, scl_high());
        break;
    case 7:
        ok_zero(r, scl_low());
        break;
    case 8:
        r.flag(read_sda());
        break;
    case 9:
        r.flag(read_scl());
        break;
    case 10:
        ok_zero(r, iic_start());
        break;
    default:
        ok_zero(r, iic_stop());
        break;
    }
}

void call_inert(Run &r) {
    const int32_t a = r.in.int32();
    const int32_t results[] = {set_strobe(a),          byte_out(a),  byte_in(a),  get_status(a), inp32(a),
                               out32(a, r.in.int32()), io_disable(), io_enable(), read_int()};
    for (const int32_t result : results) ok_zero(r, result);
    r.check(r.board.bench.accesses() == 0, "inert call touched a port");
}

void call_byte_primitives(Run &r) {
    if (r.in.pick(2) == 0)
        r.sent(iic_send_byte(r.in.int32()));
    else
        r.byte(iic_read_byte(r.in.int32()));
}

// ---- expander ---------------------------------------------------------------

void call_expander(Run &r) {
    const int32_t index = r.in.int32();
    switch (r.in.pick(4)) {
    case 0:
        r.sent(iic_tx_pcf8574(r.in.int32(), index));
        break;
    case 1: {
        const int32_t value = iic_rx_pcf8574(index);
        r.byte(value);
        r.check(!r.dead() || value == 0, "value read on a dead clock");
        break;
    }
    case 2:
        r.check(_iic_rx_pcf8574(nullptr, index) == 0, "null pointer taken");
        break;
    default: {
        Guarded<sizeof(int32_t)> value(int32_t{0x12345678});
        const int32_t result = _iic_rx_pcf8574(value.as<int32_t>(), index);
        r.sent(result);
        const int32_t stored = value.value<int32_t>();
        r.check(result == 1 ? (stored >= 0 && stored <= 0xFF) : stored == 0, "stored value out of range");
        r.check(value.intact(), "wrote outside the value");
    }
    }
}

// ---- converter --------------------------------------------------------------

void call_converter_worker(Run &r) {
    const int32_t a = r.in.int32();
    const int32_t b = r.in.int32();
    bool unchanged = true;
    switch (r.in.pick(5)) {
    case 0: {
        const float vref = r.in.real();
        ok_zero(r, on_record(r, r.converter, [&](pcf8591_state *s) { return pcf8591_init(s, a, vref); }));
        break;
    }
    case 1:
        r.sent(on_record(
            r, r.converter, [&](pcf8591_state *s) { return pcf8591_readchan(s, a, b); }, &unchanged));
        r.check(!r.dead() || unchanged, "reading stored on a dead clock");
        break;
    case 2:
        r.sent(on_record(
            r, r.converter, [&](pcf8591_state *s) { return pcf8591_read4chan(s, a); }, &unchanged));
        r.check(!r.dead() || unchanged, "readings stored on a dead clock");
        break;
    case 3: {
        const float volts = r.in.real();
        r.sent(on_record(r, r.converter, [&](pcf8591_state *s) { return pcf8591_setda(s, volts, a); }));
        break;
    }
    default:
        on_record(r, r.converter, [&](pcf8591_state *s) {
            const float volts = pcf8591_aout(s, a);
            return std::isnan(volts) ? 0 : 1;
        });
        r.check(r.board.bench.accesses() == 0, "aout touched the bus");
    }
}

void call_converter_entry(Run &r) {
    const int32_t a = r.in.int32();
    const int32_t b = r.in.int32();
    switch (r.in.pick(4)) {
    case 0:
        ok_zero(r, ad_pcf8591_init(a, b));
        break;
    case 1: {
        const int32_t before = ad_pcf8591_aout(a);
        const int32_t reading = ad_pcf8591_readchan(a, b);
        r.byte(reading);
        r.check(!r.dead() || ad_pcf8591_aout(a) == before, "reading stored on a dead clock");
        break;
    }
    case 2:
        r.sent(ad_pcf8591_setda(a, b));
        break;
    default:
        ad_pcf8591_aout(a);
        r.check(r.board.bench.accesses() == 0, "aout touched the bus");
    }
}

// ---- display ---------------------------------------------------------------

void call_display_write(Run &r) {
    switch (r.in.pick(5)) {
    case 0:
        // lcd_init sleeps 20 ms; once per program is enough.
        if (r.display_initialised) return;
        r.display_initialised = true;
        r.sent(lcd_init());
        break;
    case 1:
        r.sent(lcd_instr(r.in.int32()));
        break;
    case 2:
        r.sent(lcd_wchar(r.in.int32()));
        break;
    case 3:
        r.sent(lcd_backlight(r.in.int32()));
        break;
    default: {
        if (r.in.pick(8) == 0) {
            r.check(lcd_write_str(nullptr) == 0, "null string taken");
            break;
        }
        // Exactly as long as the string, so that a read beyond it shows.
        const std::string text = r.in.text();
        auto copy = std::make_unique<char[]>(text.size() + 1);
        std::memcpy(copy.get(), text.c_str(), text.size() + 1);
        r.check(lcd_write_str(copy.get()) == 1, "result not 1");
    }
    }
}

void call_display_read(Run &r) {
    switch (r.in.pick(4)) {
    case 0: {
        const int32_t address = lcd_get_adress();
        r.check(address >= -1 && address <= 0x7F, "address out of range");
        r.check(!r.dead() || address == -1, "address read on a dead clock");
        break;
    }
    case 1: {
        constexpr int32_t kUntouched = 0x7FFF1234;
        Guarded<sizeof(int32_t)> character(kUntouched);
        const int32_t result = lcd_rchar(r.in.pick(8) == 0 ? nullptr : character.as<int32_t>(), r.in.int32());
        r.sent(result);
        const int32_t stored = character.value<int32_t>();
        r.check(stored == kUntouched || (stored >= 0 && stored <= 0xFF), "character out of range");
        r.check(!r.dead() || stored == kUntouched, "character stored on a dead clock");
        r.check(character.intact(), "wrote outside the character");
        break;
    }
    case 2: {
        const int32_t count = r.in.int32();
        const int32_t address = r.in.int32();
        const bool null = r.in.pick(8) == 0;
        const std::size_t used = static_cast<std::size_t>(count < 0 ? 0 : (count > 31 ? 31 : count)) + 1;
        char before[sizeof lcd_STRING];
        std::memcpy(before, lcd_STRING, sizeof before);
        Guarded<32> text;
        const int32_t result =
            lcd_read_str(count, address, null ? nullptr : reinterpret_cast<char *>(text.data()));
        r.flag(result);
        r.check(text.intact(used), "wrote beyond count + 1 bytes");
        if (result == 1) {
            r.check(std::memchr(text.data(), '\0', used) != nullptr, "string not ended within count + 1");
            r.check(std::memchr(lcd_STRING, '\0', used) != nullptr, "lcd_STRING not ended");
        } else {
            r.check(text.intact(0), "destination written by a failed read");
            r.check(std::memcmp(before, lcd_STRING, sizeof before) == 0,
                    "lcd_STRING written by a failed read");
        }
        r.check(!null || result == 0, "null destination taken");
        r.check(!r.dead() || count <= 0 || null || result == 0, "success reported on a dead clock");
        break;
    }
    default:
        // What a caller may do to the exported cells between calls.
        lcd_BACKLIGHT = r.in.int32();
        lcd_ADRESS = r.in.int32();
        for (char &c : lcd_STRING) c = static_cast<char>(r.in.byte());
    }
}

// ---- synthesizers ---------------------------------------------------------

void call_synthesizer_worker(Run &r) {
    const int32_t a = r.in.int32();
    const int32_t b = r.in.int32();
    const int32_t c = r.in.int32();
    switch (r.in.pick(19)) {
    case 0:
        on_record(r, r.tsa5511, [&](tsa5511_state *s) { return tsa5511_init(s, a, b, c); });
        break;
    case 1:
        on_record(r, r.tsa5511, [&](tsa5511_state *s) { return tsa5511_calc(s, a, b); });
        break;
    case 2:
        r.sent(on_record(r, r.tsa5511, [&](tsa5511_state *s) { return tsa5511_send(s, a); }));
        break;
    case 3: {
        const int32_t status = tsa5511_read(a);
        r.byte(status);
        r.check(!r.dead() || status == 0, "status read on a dead clock");
        break;
    }
    case 4:
        on_record(r, r.tsa5523, [&](tsa5523_state *s) { return tsa5523_init(s, a); });
        break;
    case 5:
        on_record(r, r.tsa5523, [&](tsa5523_state *s) { return tsa5523_calc(s, a, b); });
        break;
    case 6:
        r.sent(on_record(r, r.tsa5523, [&](tsa5523_state *s) { return tsa5523_send(s, a); }));
        break;
    case 7:
        r.byte(tsa5523_read(a));
        break;
    case 8:
        on_record(r, r.tbb200, [&](tbb200_state *s) { return tbb200_init(s, a, b, c); });
        break;
    case 9:
        on_record(r, r.tbb200, [&](tbb200_state *s) { return tbb200_calc(s, a, b); });
        break;
    case 10:
        r.sent(on_record(r, r.tbb200, [&](tbb200_state *s) { return tbb200_send_status(s, a); }));
        break;
    case 11:
        r.sent(on_record(r, r.tbb200, [&](tbb200_state *s) { return tbb200_send_r_cnt(s); }));
        break;
    case 12:
        r.sent(on_record(r, r.tbb200, [&](tbb200_state *s) { return tbb200_send_n_cnt(s); }));
        break;
    case 13:
        on_record(r, r.tsa6057, [&](tsa6057_state *s) { return tsa6057_init(s, a, b); });
        break;
    case 14:
        on_record(r, r.tsa6057, [&](tsa6057_state *s) { return tsa6057_calc(s, a, b); });
        break;
    case 15:
        r.sent(on_record(r, r.tsa6057, [&](tsa6057_state *s) { return tsa6057_send(s, a); }));
        break;
    case 16:
        on_record(r, r.sda3302, [&](sda3302_state *s) { return sda3302_init(s, a); });
        break;
    case 17:
        on_record(r, r.sda3302, [&](sda3302_state *s) { return sda3302_calc(s, a, b); });
        break;
    default:
        r.sent(on_record(r, r.sda3302, [&](sda3302_state *s) { return sda3302_send(s, a); }));
        break;
    }
}

void call_synthesizer_entry(Run &r) {
    const int32_t a = r.in.int32();
    const int32_t b = r.in.int32();
    const int32_t c = r.in.int32();
    switch (r.in.pick(19)) {
    case 0:
        r.check(pll_tsa5511_init(a, b, c) == a, "control not returned");
        break;
    case 1:
        pll_tsa5511_calc(a, b);
        break;
    case 2:
        r.sent(pll_tsa5511_send(a));
        break;
    case 3: {
        const int32_t status = pll_tsa5511_read(a);
        r.byte(status);
        r.check(!r.dead() || status == 0, "status read on a dead clock");
        break;
    }
    case 4:
        r.check(pll_tsa5523_init(a) == a, "control not returned");
        break;
    case 5:
        pll_tsa5523_calc(a, b);
        break;
    case 6:
        r.sent(pll_tsa5523_send(a));
        break;
    case 7:
        r.byte(pll_tsa5523_read(a));
        break;
    case 8:
        r.check(pll_tbb200_init(a, b, c) == 0xF8, "status not returned");
        break;
    case 9:
        pll_tbb200_calc(a, b);
        break;
    case 10:
        r.sent(pll_tbb200_send_status(a));
        break;
    case 11:
        r.sent(pll_tbb200_send_r_cnt());
        break;
    case 12:
        r.sent(pll_tbb200_send_n_cnt());
        break;
    case 13:
        r.check(pll_tsa6057_init(a, b) == a, "control not returned");
        break;
    case 14:
        pll_tsa6057_calc(a, b);
        break;
    case 15:
        r.sent(pll_tsa6057_send(a));
        break;
    case 16:
        r.check(pll_sda3302_init(a) == a, "control not returned");
        break;
    case 17:
        pll_sda3302_calc(a, b);
        break;
    default:
        r.sent(pll_sda3302_send(a));
        break;
    }
}

// ---- combined transfer ------------------------------------------------------

constexpr int kTransferRoom = 64;  // the longest fuzzed message that fits
constexpr int kBlockCountRoom = 32;

// A length that fits the buffer, or one the library must refuse.
int32_t fuzzed_length(Run &r) {
    switch (r.in.pick(4)) {
    case 0:
        return -1 - static_cast<int32_t>(r.in.pick(256));
    case 1:
        return 8193 + static_cast<int32_t>(r.in.pick(256));
    default:
        return static_cast<int32_t>(r.in.pick(kTransferRoom + 1));
    }
}

std::size_t bytes_a_read_may_fill(const wirelink_msg &message) {
    const bool fits = message.length >= 0 && message.length <= kTransferRoom;
    if ((message.flags & WIRELINK_MSG_READ) == 0 || !fits) return 0;
    const bool block = (message.flags & WIRELINK_MSG_RECV_LEN) != 0;
    return static_cast<std::size_t>(message.length + (block ? kBlockCountRoom : 0));
}

// Up to three messages, each in a guarded buffer: nothing may be written
// outside a read's bytes (its count's 32 more), nor into a write's.
void call_transfer(Run &r) {
    const uint16_t kFlags[] = {0, WIRELINK_MSG_READ, WIRELINK_MSG_READ | WIRELINK_MSG_RECV_LEN,
                               WIRELINK_MSG_RECV_LEN, 0x8000};
    std::array<Guarded<kTransferRoom + kBlockCountRoom>, 3> buffers;
    std::array<wirelink_msg, 3> messages{};
    const int32_t count = static_cast<int32_t>(r.in.pick(4));
    for (int32_t i = 0; i < count; ++i) {
        messages[i] = {static_cast<uint16_t>(r.in.pick(0x100)), kFlags[r.in.pick(5)], fuzzed_length(r),
                       buffers[i].data()};
    }
    const int32_t result = wirelink_transfer(r.in.pick(8) == 0 ? nullptr : messages.data(), count);
    const int32_t codes[] = {0,
                             WIRELINK_ENXIO,
                             WIRELINK_EREMOTEIO,
                             WIRELINK_ETIMEDOUT,
                             WIRELINK_ENODEV,
                             WIRELINK_ECANCELED,
                             WIRELINK_EPROTO,
                             WIRELINK_EINVAL};
    r.check(std::find(std::begin(codes), std::end(codes), -result) != std::end(codes),
            "result not 0 or one of its errno values");
    r.check(result == -wirelink_last_error(), "result and last error disagree");
    r.check(!r.dead() || result != 0, "success reported on a dead clock");
    if (result == -WIRELINK_EINVAL)
        r.check(r.board.bench.accesses() == 0, "a refused transfer touched a port");
    for (int32_t i = 0; i < count; ++i) {
        r.check(buffers[i].intact(bytes_a_read_may_fill(messages[i])), "wrote outside a read's bytes");
    }
}

struct Call {
    const char *name;
    void (*run)(Run &);
};

const Call kCalls[] = {
    {"init_iic", call_init_iic},
    {"line or primitive", call_lines},
    {"inert entry", call_inert},
    {"byte send or read", call_byte_primitives},
    {"expander", call_expander},
    {"converter worker", call_converter_worker},
    {"converter entry", call_converter_entry},
    {"display write", call_display_write},
    {"display read", call_display_read},
    {"synthesizer worker", call_synthesizer_worker},
    {"synthesizer entry", call_synthesizer_entry},
    {"combined transfer", call_transfer},
};

uint64_t accesses_of_port(const wlsim::Bench &bench, uint32_t base) {
    uint64_t total = 0;
    for (uint32_t port = base; port < base + 8; ++port) total += bench.reads(port) + bench.writes(port);
    return total;
}

// Where the call's accesses went, and how many there were.
void check_accesses(const Run &r) {
    const wlsim::Bench &bench = r.board.bench;
    r.check(bench.accesses() <= kMostAccessesPerCall, "too many port accesses for one call");
    r.check(bench.violations().empty(), "touched a port outside the serial ports");
    uint64_t allowed = 0;
    if (r.probes_ports)
        allowed = accesses_of_port(bench, kCom1) + accesses_of_port(bench, kCom2);
    else if (r.claimed != 0)
        allowed = accesses_of_port(bench, static_cast<uint32_t>(r.claimed));
    r.check(bench.accesses() == allowed, r.claimed == 0 && !r.probes_ports
                                             ? "touched a port while none was claimed"
                                             : "touched a port other than the claimed one");
}

// Every program starts from the same library state: no port claimed,
// delay 0, fresh records and display cells.
void reset_library() {
    static wlsim::Bench no_ports;
    wlsim::attach(&no_ports);
    init_iic(1);  // finds nothing, so no port is claimed
    set_port_delay(0);
    ad_pcf8591_init(0, 0);
    pll_tsa5511_init(0, 0, 0);
    pll_tsa5523_init(0);
    pll_tbb200_init(0, 0, 0);
    pll_tsa6057_init(0, 0);
    pll_sda3302_init(0);
    lcd_BACKLIGHT = 0;
    lcd_ADRESS = 0;
    std::memset(lcd_STRING, 0, sizeof lcd_STRING);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    reset_library();
    FuzzBoard board;
    wlsim::attach(&board.bench);
    FuzzInput in(data, size);
    Run run{board, in};
    for (int step = 0; step < kMostSteps && !in.done(); ++step) {
        const unsigned choice = in.pick(sizeof kCalls / sizeof kCalls[0] + 2);
        if (choice >= sizeof kCalls / sizeof kCalls[0]) {
            board.apply_fault(in);
            continue;
        }
        board.bench.reset_counts();
        run.call = kCalls[choice].name;
        run.probes_ports = false;
        kCalls[choice].run(run);
        check_accesses(run);
    }
    wlsim::attach(nullptr);
    return 0;
}
