// A representative set of the wire tests, run through wirelink.dll as an
// application binds it: claim, line operations before a claim, bus
// primitives, the expanders of the default board read back, the converter
// through its entries and its float workers, the display and its exported
// data cells, a synthesizer through both layers, the decorated workers, the
// inert exports, and a stuck clock.

#include "cases.h"

namespace {

Wirelink wl;
SimulatedBench sim;

void claim() {
    CHECK_EQ(wl.init_iic(1), 0x3F8);
    sim.forget_history();
}

// Must run first: nothing has been claimed in this process yet.
void nothing_touches_a_port_before_a_claim() {
    sim.forget_history();
    CHECK_EQ(wl.sda_low(), 0);
    CHECK_EQ(wl.scl_low(), 0);
    CHECK_EQ(wl.wait_port(), 0);
    CHECK_EQ(wl.read_sda(), 1);
    CHECK_EQ(wl.read_scl(), 1);
    CHECK_EQ(wl.iic_tx_pcf8574(0x5A, 1), 0);
    CHECK_EQ(wl.iic_rx_pcf8574(1), 0);
    CHECK_EQ(wl.deinit_iic(), 0);
    CHECK_EQ(sim.accesses(), uint64_t{0});
}

void search_passes_the_bare_uart_and_claims_com1() {
    CHECK_EQ(wl.set_port_delay(10), 10);
    CHECK_EQ(wl.init_iic(0), 0x3F8);
}

void claim_of_the_bare_uart_fails_and_leaves_the_ports_alone() {
    CHECK_EQ(wl.init_iic(2), 0);
    sim.forget_history();
    CHECK_EQ(wl.iic_tx_pcf8574(0x5A, 1), 0);
    CHECK_EQ(sim.accesses(), uint64_t{0});
}

void primitives_write_then_read_with_repeated_start() {
    claim();
    wl.iic_start();
    CHECK_EQ(wl.iic_send_byte(0x72), 1);
    CHECK_EQ(wl.iic_send_byte(0x10F), 1);  // only the low 8 bits go out
    wl.iic_start();
    CHECK_EQ(wl.iic_send_byte(0x73), 1);
    CHECK_EQ(wl.iic_read_byte(0), 0x0F);
    wl.iic_stop();
    CHECK_EQ(sim.trace(), "S 72 A 0F A Sr 73 A 0F N P");
}

struct ExpanderCase {
    int32_t index;
    int32_t value;
    const char *write_trace;
    const char *read_trace;
};

constexpr ExpanderCase kExpanders[] = {
    {1, 0x5A, "S 72 A 5A A P", "S 73 A 5A N P"},
    {2, 0xA5, "S 74 A A5 A P", "S 75 A A5 N P"},
};

void expanders_read_back_what_was_written() {
    claim();
    for (const ExpanderCase &c : kExpanders) {
        sim.forget_history();
        CHECK_EQ(wl.iic_tx_pcf8574(c.value, c.index), 1);
        CHECK_EQ(sim.trace(), c.write_trace);
        sim.forget_history();
        CHECK_EQ(wl.iic_rx_pcf8574(c.index), c.value);
        CHECK_EQ(sim.trace(), c.read_trace);
    }
}

void decorated_worker_reads_through_a_pointer() {
    claim();
    CHECK_EQ(wl.iic_tx_pcf8574(0x3C, 2), 1);
    int32_t value = 0x1234;
    CHECK_EQ(wl.iic_rx_pcf8574_worker(&value, 2), 1);
    CHECK_EQ(value, 0x3C);

    sim.forget_history();
    value = 0x1234;
    CHECK_EQ(wl.iic_rx_pcf8574_worker(&value, 3), 0);
    CHECK_EQ(value, 0);
    CHECK_EQ(sim.trace(), "S 77 N P");

    sim.forget_history();
    CHECK_EQ(wl.iic_rx_pcf8574_worker(nullptr, 1), 0);
    CHECK_EQ(sim.accesses(), uint64_t{0});
}

void failed_write_leaves_the_bus_open_for_a_repeated_start() {
    claim();
    CHECK_EQ(wl.iic_tx_pcf8574(0x55, 3), 0);
    CHECK_EQ(wl.iic_tx_pcf8574(0x66, 1), 1);
    CHECK_EQ(sim.trace(), "S 76 N Sr 72 A 66 A P");
}

// The bench program's own calls; the board loops the converter's output back
// into input 0 and holds 1.0 V and 2.0 V on inputs 2 and 3.
void converter_entries_set_the_output_and_read_it_back() {
    claim();
    CHECK_EQ(wl.ad_pcf8591_init(0, 2550), 0);
    CHECK_EQ(wl.ad_pcf8591_setda(2500, 0), 1);
    CHECK_EQ(sim.trace(), "S 90 A 40 A FA A P");
    CHECK_EQ(wl.ad_pcf8591_readchan(0, 0), 250);
    CHECK_EQ(wl.ad_pcf8591_readchan(2, 0), 100);
    CHECK_EQ(wl.ad_pcf8591_readchan(3, 0), 200);
}

// Floats go in by value and come back in the FPU register: a caller's
// record, volts in, volts out.
void converter_workers_take_and_return_floats() {
    claim();
    pcf8591_state record{};
    CHECK_EQ(wl.pcf8591_init(&record, 0, 2.55f), 0);
    CHECK_EQ(wl.pcf8591_setda(&record, 1.0f, 0), 1);
    CHECK_EQ(record.dac, 100);
    CHECK_EQ(wl.pcf8591_read4chan(&record, 0), 1);
    CHECK_EQ(record.reading[2], 100);
    CHECK_EQ(record.reading[3], 200);
    const float volts = wl.pcf8591_aout(&record, 3);
    CHECK(volts > 1.9921f && volts < 1.9922f);  // 2.55 V * 200 / 256
    CHECK_EQ(wl.pcf8591_aout(&record, 4), 0.0f);
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
    CHECK_EQ(sim.accesses(), uint64_t{0});
    CHECK_EQ(wl.pll_tsa5511_send(0), 0);
    CHECK_EQ(wl.tsa5511_send(&record, 0), 0);
    CHECK_EQ(wl.tsa5511_read(0), 0);
    CHECK_EQ(sim.trace(), "S C0 N 06 N 40 N 8E N 01 N P S C0 N 06 N 41 N 8E N 01 N P S C1 N P");
}

void inert_exports_return_zero_and_touch_nothing() {
    claim();
    CHECK_EQ(wl.set_strobe(7), 0);
    CHECK_EQ(wl.out32(0x3FC, 0xFF), 0);
    CHECK_EQ(wl.io_disable(), 0);
    CHECK_EQ(wl.read_int(), 0);
    CHECK_EQ(sim.accesses(), uint64_t{0});
}

void stuck_clock_makes_calls_return_and_the_bus_recovers() {
    CHECK_EQ(wl.set_port_delay(0), 0);
    claim();
    sim.stick_scl_low(1);
    CHECK_EQ(wl.iic_tx_pcf8574(0x12, 1), 0);
    CHECK(sim.accesses() < 30000u);  // one wait ran into its bound
    sim.forget_history();
    CHECK_EQ(wl.iic_tx_pcf8574(0x12, 1), 0);
    CHECK(sim.accesses() < 200u);  // later waits look once
    sim.stick_scl_low(0);
    wl.iic_stop();
    sim.forget_history();
    CHECK_EQ(wl.iic_tx_pcf8574(0x12, 1), 1);
    CHECK_EQ(sim.trace(), "S 72 A 12 A P");
}

}  // namespace

std::vector<TestCase> wire_cases(const Wirelink &library, const SimulatedBench &bench) {
    wl = library;
    sim = bench;
    return {
        {"nothing_touches_a_port_before_a_claim", nothing_touches_a_port_before_a_claim},
        {"search_passes_the_bare_uart_and_claims_com1", search_passes_the_bare_uart_and_claims_com1},
        {"claim_of_the_bare_uart_fails_and_leaves_the_ports_alone",
         claim_of_the_bare_uart_fails_and_leaves_the_ports_alone},
        {"primitives_write_then_read_with_repeated_start", primitives_write_then_read_with_repeated_start},
        {"expanders_read_back_what_was_written", expanders_read_back_what_was_written},
        {"decorated_worker_reads_through_a_pointer", decorated_worker_reads_through_a_pointer},
        {"failed_write_leaves_the_bus_open_for_a_repeated_start",
         failed_write_leaves_the_bus_open_for_a_repeated_start},
        {"converter_entries_set_the_output_and_read_it_back", converter_entries_set_the_output_and_read_it_back},
        {"converter_workers_take_and_return_floats", converter_workers_take_and_return_floats},
        {"display_text_reads_back_through_the_exported_cells",
         display_text_reads_back_through_the_exported_cells},
        {"synthesizer_layers_compute_and_send_their_own_records",
         synthesizer_layers_compute_and_send_their_own_records},
        {"inert_exports_return_zero_and_touch_nothing", inert_exports_return_zero_and_touch_nothing},
        {"stuck_clock_makes_calls_return_and_the_bus_recovers",
         stuck_clock_makes_calls_return_and_the_bus_recovers},
    };
}

void check_bench_is_clean() {
    if (sim.violations != nullptr) CHECK_EQ(sim.violations(), 0);
}
