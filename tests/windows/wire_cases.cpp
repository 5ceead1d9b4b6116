// A representative set of the wire tests, run through wirelink.dll as an
// application binds it: one case per calling pattern that crosses the DLL
// boundary (plain entries, a decorated worker writing through a pointer,
// floats in and out, exported data cells, caller-owned records) rather than
// the bus behaviour, which the Linux suites cover in full.

#include "cases.h"

namespace {

Wirelink wl;
SimulatedBench sim;

void claim() {
    CHECK_EQ(wl.init_iic(1), 0x3F8);
    sim.forget_history();
}

void search_claims_the_adapter_on_com1() {
    CHECK_EQ(wl.set_port_delay(10), 10);
    CHECK_EQ(wl.init_iic(0), 0x3F8);
}

void expanders_read_back_through_entry_and_worker() {
    claim();
    CHECK_EQ(wl.iic_tx_pcf8574(0xA5, 2), 1);
    CHECK_EQ(wl.iic_rx_pcf8574(2), 0xA5);
    CHECK_EQ(sim.trace(), "S 74 A A5 A P S 75 A A5 N P");
    int32_t value = 0x1234;
    CHECK_EQ(wl._iic_rx_pcf8574(&value, 2), 1);
    CHECK_EQ(value, 0xA5);
    value = 0x1234;
    CHECK_EQ(wl._iic_rx_pcf8574(&value, 3), 0);  // nothing at index 3
    CHECK_EQ(value, 0);
    sim.forget_history();
    CHECK_EQ(wl._iic_rx_pcf8574(nullptr, 1), 0);
    CHECK_EQ(sim.accesses(), uint64_t{0});
}

// The board loops the converter's output back into input 0 and holds 1.0 V
// and 2.0 V on inputs 2 and 3.  The workers take a caller's record and
// floats by value, and return volts in the FPU register.
void converter_through_entries_and_float_workers() {
    claim();
    CHECK_EQ(wl.ad_pcf8591_init(0, 2550), 0);
    CHECK_EQ(wl.ad_pcf8591_setda(2500, 0), 1);
    CHECK_EQ(sim.trace(), "S 90 A 40 A FA A P");
    CHECK_EQ(wl.ad_pcf8591_readchan(0, 0), 250);
    CHECK_EQ(wl.ad_pcf8591_readchan(3, 0), 200);
    pcf8591_state record{};
    CHECK_EQ(wl.pcf8591_init(&record, 0, 2.55f), 0);
    CHECK_EQ(wl.pcf8591_setda(&record, 1.0f, 0), 1);
    CHECK_EQ(record.dac, 100);
    CHECK_EQ(wl.pcf8591_read4chan(&record, 0), 1);
    CHECK_EQ(record.reading[2], 100);
    const float volts = wl.pcf8591_aout(&record, 3);
    CHECK(volts > 1.9921f && volts < 1.9922f);  // 2.55 V * 200 / 256
}

// The board's display hangs on the expander at index 0.  The cells that the
// library writes are seen through their exported addresses.
void display_text_reads_back_through_the_exported_cells() {
    claim();
    CHECK_EQ(wl.lcd_init(), 1);
    CHECK_EQ(*wl.lcd_BACKLIGHT, 1);
    CHECK_EQ(wl.lcd_write_str("Hi there"), 1);
    char read_back[9] = {};
    CHECK_EQ(wl.lcd_read_str(8, 0x00, read_back), 1);
    CHECK_EQ(std::string(read_back), "Hi there");
    CHECK_EQ(std::string(wl.lcd_STRING), "Hi there");
    CHECK_EQ(wl.lcd_get_adress(), 8);
}

// The board carries no synthesizer: every byte goes out unanswered, and the
// divider bytes show which record was sent.
void synthesizer_layers_compute_and_send_their_own_records() {
    claim();
    CHECK_EQ(wl.pll_tsa5511_init(0x8E, 0, 0x01), 0x8E);
    CHECK_EQ(wl.pll_tsa5511_calc(100'000'000, 0), 1600);
    tsa5511_state record{};
    CHECK_EQ(wl.tsa5511_init(&record, 0x8E, 0, 0x01), 0x8E);
    CHECK_EQ(wl.tsa5511_calc(&record, 100'062'500, 0), 1601);
    CHECK_EQ(wl.tsa5511_send(&record, 0), 0);
    CHECK_EQ(sim.trace(), "S C0 N 06 N 41 N 8E N 01 N P");
}

// The library's lock is a critical section here: the calls of two threads
// run whole, so every write is taken and every reading is right.
constexpr int kRounds = 100;
int writer_failures = 0;

DWORD WINAPI write_expander(void *) {
    for (int i = 0; i < kRounds; ++i)
        if (wl.iic_tx_pcf8574(i & 0xFF, 1) != 1) ++writer_failures;
    return 0;
}

void calls_from_two_threads_run_whole() {
    claim();
    CHECK_EQ(wl.ad_pcf8591_init(0, 2550), 0);
    const HANDLE writer = CreateThread(nullptr, 0, write_expander, nullptr, 0, nullptr);
    CHECK(writer != nullptr);
    int wrong_readings = 0;
    for (int i = 0; i < kRounds; ++i)
        if (wl.ad_pcf8591_readchan(3, 0) != 200) ++wrong_readings;
    WaitForSingleObject(writer, INFINITE);
    CloseHandle(writer);
    CHECK_EQ(wrong_readings, 0);
    CHECK_EQ(writer_failures, 0);
}

// A read whose clock is stuck reports failure, stores nothing clocked, and
// costs one bounded wait.
void stuck_clock_fails_a_read_promptly() {
    claim();
    sim.stick_scl_low(1);
    int32_t value = 0x1234;
    CHECK_EQ(wl._iic_rx_pcf8574(&value, 1), 0);
    CHECK_EQ(value, 0);
    CHECK_EQ(wl.wirelink_last_error(), WIRELINK_ETIMEDOUT);
    CHECK(sim.accesses() < 25'000 + 1'000);  // one full wait, the rest at delay 10
    sim.stick_scl_low(0);
    CHECK_EQ(wl.iic_tx_pcf8574(0x5A, 1), 1);
    CHECK_EQ(wl.wirelink_last_error(), 0);
}

// A cancel stops every later call without touching the bus until reset.
void cancel_refuses_calls_until_reset() {
    claim();
    wl.wirelink_cancel();
    CHECK_EQ(wl.iic_tx_pcf8574(0x5A, 1), 0);
    CHECK_EQ(wl.wirelink_last_error(), WIRELINK_ECANCELED);
    CHECK_EQ(sim.accesses(), uint64_t{0});
    wl.wirelink_cancel_reset();
    CHECK_EQ(wl.iic_tx_pcf8574(0x5A, 1), 1);
}

// The message list crosses the DLL as a pointer to records holding pointers,
// whose layout differs between the 32-bit and the 64-bit DLL.
void combined_transfer_passes_its_message_records() {
    claim();
    uint8_t sent = 0xA5, received = 0;
    const wirelink_msg messages[] = {{0x3A, 0, 1, &sent}, {0x3A, WIRELINK_MSG_READ, 1, &received}};
    CHECK_EQ(wl.wirelink_transfer(messages, 2), 0);
    CHECK_EQ(received, 0xA5);
    CHECK_EQ(sim.trace(), "S 74 A A5 A Sr 75 A A5 N P");
    const wirelink_msg absent{0x3B, 0, 0, nullptr};
    CHECK_EQ(wl.wirelink_transfer(&absent, 1), -WIRELINK_ENXIO);
    CHECK_EQ(wl.wirelink_last_error(), WIRELINK_ENXIO);
}

}  // namespace

std::vector<TestCase> wire_cases(const Wirelink &library, const SimulatedBench &bench) {
    wl = library;
    sim = bench;
    return {
        NAMED_CASE(search_claims_the_adapter_on_com1),
        NAMED_CASE(expanders_read_back_through_entry_and_worker),
        NAMED_CASE(converter_through_entries_and_float_workers),
        NAMED_CASE(display_text_reads_back_through_the_exported_cells),
        NAMED_CASE(synthesizer_layers_compute_and_send_their_own_records),
        NAMED_CASE(calls_from_two_threads_run_whole),
        NAMED_CASE(stuck_clock_fails_a_read_promptly),
        NAMED_CASE(cancel_refuses_calls_until_reset),
        NAMED_CASE(combined_transfer_passes_its_message_records),
    };
}

void check_bench_is_clean() {
    if (sim.violations != nullptr) CHECK_EQ(sim.violations(), 0);
}
