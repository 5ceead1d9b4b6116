#include "fuzz_board.h"

namespace {

using wlsim::kCom1;
using wlsim::kCom2;

wlsim::Bench &fitted(wlsim::Bench &bench) {
    bench.add_uart(kCom1, true);
    bench.add_uart(kCom2, false);
    return bench;
}

// Stretches from nothing to just under the bound of one wait.
constexpr int kStretches[] = {0, 3, 100, 2'000, 24'999};

}  // namespace

FuzzBoard::FuzzBoard()
    : display_port(fitted(bench).add_pcf8574(0)),
      display(bench.add<wlsim::Hd44780>(kCom1, display_port)),
      expander(bench.add_pcf8574(1)),
      converter(bench.add<wlsim::Pcf8591>(kCom1, 0)),
      tuner(bench.add<wlsim::RecordingSlave>(kCom1, 0xC0)),
      synthesizer(bench.add<wlsim::RecordingSlave>(kCom1, 0xC4)) {
    for (int input = 0; input < 4; ++input)
        converter.set_input_code(input, static_cast<uint8_t>(0x30 * input + 7));
    tuner.set_status(0x5A);
}

void FuzzBoard::apply_fault(FuzzInput &in) {
    const bool on = (in.byte() & 1) != 0;
    wlsim::I2cSlave *slaves[] = {&display_port, &expander, &converter, &tuner, &synthesizer};
    switch (in.pick(10)) {
    case 0:
        scl_stuck = on;
        bench.bus().stick_scl_low(on);
        break;
    case 1:
        bench.bus().stick_sda_low(on);
        break;
    case 2:
        slaves[in.pick(5)]->stretch_clock(kStretches[in.pick(5)]);
        break;
    case 3:
        converter.set_present(on);
        break;
    case 4:
        expander.set_present(on);
        break;
    case 5:
        display_port.set_present(on);
        break;
    case 6:
        tuner.nack_from_byte(static_cast<int>(in.pick(6)) - 1);
        break;
    case 7:
        display.stay_busy(on);
        break;
    case 8:
        unplugged = on;
        bench.uart(kCom1).plug(on ? nullptr : &bench.bus(kCom1));
        break;
    default:
        bench.uart(in.pick(2) != 0 ? kCom1 : kCom2).set_dcd(on);
        break;
    }
}
