// The five synthesizers: compute the chip's bytes for a frequency with the
// library, print them, and send them unless --dry-run.  The bytes printed are
// those the library's own send puts on a capture port, so the tool keeps no
// copy of any chip's layout.  A dry run claims no port, so it works without an
// adapter.

#include <cctype>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "call_faults.h"
#include "capture_port.h"
#include "commands.h"
#include "failure.h"
#include "json_output.h"
#include "numbers.h"
#include "warning.h"

namespace cli {
namespace {

constexpr int64_t kMaxHertz = std::numeric_limits<int32_t>::max();
constexpr int kFifteenBits = 0x7FFF;

// What a chip gets for one frequency, and how to send it (true when the chip
// acknowledged).
struct Plan {
    std::string chip;
    int address;  // 7-bit, for messages
    int divider;
    int64_t tunes;  // the frequency that divider gives
    std::function<bool(const Wirelink &)> send;
};

struct Common {
    std::string frequency;
    std::string offset = "0";
    bool dry_run = false;
    bool nearest = false;
};

// The plan for one frequency; throws a usage error when the chip cannot take it.
using PlanFor = std::function<Plan(int32_t)>;

CLI::App *add_chip(CLI::App &pll, const char *name, const char *description, Common &common) {
    CLI::App *command = pll.add_subcommand(name, description)->ignore_case();
    command->add_option("FREQ", common.frequency, "frequency: 145500000, 145500k, 145.5M (Hz, k, M)")
        ->required();
    command->add_flag("--dry-run", common.dry_run, "print the bytes but touch no port");
    command->add_flag("--nearest", common.nearest,
                      "tune the nearest frequency the step allows when FREQ falls between steps");
    return command;
}

void add_offset(CLI::App *command, Common &common, const char *choices) {
    command->add_option(
        "--offset", common.offset,
        std::string("address offset added to the chip's address byte: ") + choices + " (default 0)");
}

int parse_offset(const Common &common, int highest) {
    const int offset = static_cast<int>(parse_number(common.offset, "--offset", 0, highest));
    if (offset % 2 != 0) {
        throw usage_error("--offset: " + common.offset + " is odd, which would make a read address");
    }
    return offset;
}

int32_t frequency(const Common &common) {
    return static_cast<int32_t>(parse_frequency(common.frequency, "FREQ", 1, kMaxHertz));
}

int32_t option(const std::string &text, const char *name, int64_t min, int64_t max) {
    return static_cast<int32_t>(parse_number(text, name, min, max));
}

void check_divider(const Plan &plan, const Common &common, int highest) {
    if (plan.divider <= 0) {
        throw usage_error("FREQ: " + common.frequency + " is below the " + plan.chip + "'s first step");
    }
    if (plan.divider > highest) {
        throw usage_error("FREQ: " + common.frequency + " needs divider " + std::to_string(plan.divider) +
                          "; the " + plan.chip + " takes at most " + std::to_string(highest));
    }
}

std::string upper(std::string name) {
    for (char &c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

void print_plan(const Plan &plan, const std::vector<std::vector<int32_t>> &transactions) {
    std::printf("%s: divider %d, tunes %lld Hz\n", plan.chip.c_str(), plan.divider,
                static_cast<long long>(plan.tunes));
    for (const auto &bytes : transactions) {
        std::string line;
        for (int32_t byte : bytes) {
            char text[4];
            std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(byte) & 0xFF);
            line += (line.empty() ? "" : " ") + std::string(text);
        }
        std::printf("%s\n", line.c_str());
    }
}

// The plan of the next divider up from `plan`'s, or none: the lowest
// frequency above `asked` that the library gives a larger divider is the one
// that divider tunes, since every chip's calc rounds down.
std::optional<Plan> next_step_up(const Plan &plan, int32_t asked, const PlanFor &plan_for) {
    const auto divider_at = [&](int64_t hertz) {
        try {
            return plan_for(static_cast<int32_t>(hertz)).divider;
        } catch (const Failure &) {
            return std::numeric_limits<int>::max();  // beyond what the chip takes
        }
    };
    int64_t within = asked, beyond = asked + 1;  // divider_at(within) == plan.divider
    while (divider_at(beyond) <= plan.divider) {
        within = beyond;
        beyond = asked + 2 * (beyond - asked);
        if (beyond > kMaxHertz) return std::nullopt;
    }
    while (beyond - within > 1) {
        const int64_t middle = within + (beyond - within) / 2;
        (divider_at(middle) <= plan.divider ? within : beyond) = middle;
    }
    try {
        return plan_for(static_cast<int32_t>(beyond));
    } catch (const Failure &) {
        return std::nullopt;
    }
}

// Where FREQ lies among the steps the chip can tune.
struct Tuning {
    int64_t asked;
    std::optional<int64_t> step;  // none at the chip's last step
    int64_t nearest;
};

// Between two steps: says so with both frequencies and the step, and with
// --nearest takes the nearer of the two.
Plan between_steps(const Plan &plan, const std::optional<Plan> &up, const Tuning &tuning,
                   const Common &common) {
    const int64_t asked = tuning.asked;
    const std::string step = tuning.step ? " (step " + frequency_text(*tuning.step) + ")" : "";
    const std::string said = plan.chip + ": " + frequency_text(asked) + " asked for";
    if (tuning.nearest == plan.tunes) {
        report_warning(said + ", tunes " + frequency_text(plan.tunes) + ", the nearest" + step);
        return plan;
    }
    if (common.nearest) {
        report_warning(said + ", tunes " + frequency_text(up->tunes) + ", the nearest" + step);
        return *up;
    }
    report_warning(said + ", tunes " + frequency_text(plan.tunes) + step + "; the nearest is " +
                   frequency_text(up->tunes) + ": add --nearest to tune it");
    return plan;
}

void print_plan_json(const Plan &plan, const Tuning &tuning,
                     const std::vector<std::vector<int32_t>> &transactions) {
    Json bytes = Json::array();
    for (const auto &transaction : transactions) {
        Json one = Json::array();
        for (int32_t byte : transaction) one.push_back(byte & 0xFF);
        bytes.push_back(one);
    }
    print_json({{"chip", plan.chip},
                {"address", plan.address},
                {"frequency", tuning.asked},
                {"divider", plan.divider},
                {"tunes", plan.tunes},
                {"step", tuning.step ? Json(*tuning.step) : Json()},
                {"nearest", tuning.nearest},
                {"transactions", bytes}});
}

void execute(Session &session, const Plan &plan, const Tuning &tuning, const Common &common);

// The plan for FREQ, or for the nearest step with --nearest, carried out.
void tune(Session &session, int32_t asked, const Common &common, const PlanFor &plan_for) {
    Plan plan = plan_for(asked);
    const std::optional<Plan> up = next_step_up(plan, asked, plan_for);
    Tuning tuning{asked, std::nullopt, plan.tunes};
    if (up) {
        tuning.step = up->tunes - plan.tunes;
        if (up->tunes - asked < asked - plan.tunes) tuning.nearest = up->tunes;
    }
    if (plan.tunes != asked) plan = between_steps(plan, up, tuning, common);
    execute(session, plan, tuning, common);
}

void send(Session &session, const Plan &plan) {
    const Wirelink &bus = session.bus();
    if (!plan.send(bus)) {
        const std::string unanswered = "no acknowledge from " + hex(plan.address) + " (" + plan.chip + ")";
        throw_if_failed(bus, unanswered);
        throw no_acknowledge(unanswered);
    }
}

// The text shows the bytes before they go out (and --trace then shows them
// on the wire); a JSON object stands for a result, so only a sent one or a
// dry run's is printed.
void execute(Session &session, const Plan &plan, const Tuning &tuning, const Common &common) {
    const auto transactions =
        capture_bytes(session.library(), [&plan](const Wirelink &bus) { plan.send(bus); });
    if (!session.json()) print_plan(plan, transactions);
    if (!common.dry_run) send(session, plan);
    if (session.json()) print_plan_json(plan, tuning, transactions);
}

// --- TSA5511 -------------------------------------------------------------

struct Tsa5511Arguments : Common {
    std::string fref = "4M", control = "0x8E", port_byte = "0x00", step_mode = "0";
};

void add_tsa5511(CLI::App &pll, Commands &commands) {
    auto args = std::make_shared<Tsa5511Arguments>();
    CLI::App *command = add_chip(pll, "tsa5511", "TSA5511: divider in steps of fref / 64", *args);
    command->add_option("--fref", args->fref, "reference (default 4M: 62.5 kHz steps)");
    command->add_option("--control", args->control, "control byte (default 0x8E)");
    command->add_option("--port-byte", args->port_byte, "port byte (default 0x00)");
    command->add_option("--step-mode", args->step_mode, "1 rounds an odd divider down to even (default 0)");
    add_offset(command, *args, "0, 2, 4 or 6");
    commands.add(command, [args](Session &session) {
        const int32_t freq = frequency(*args);
        const int32_t fref = static_cast<int32_t>(parse_frequency(args->fref, "--fref", 64, kMaxHertz));
        const int32_t control = option(args->control, "--control", 0, 0xFF);
        const int32_t port = option(args->port_byte, "--port-byte", 0, 0xFF);
        const int32_t step_mode = option(args->step_mode, "--step-mode", 0, 1);
        const int offset = parse_offset(*args, 6);
        const Wirelink &wirelink = session.library();
        tune(session, freq, *args, [&](int32_t hertz) {
            auto state = std::make_shared<tsa5511_state>();
            wirelink.tsa5511_init(state.get(), control, fref, port);
            Plan plan{
                "TSA5511", (0xC0 + offset) / 2, wirelink.tsa5511_calc(state.get(), hertz, step_mode), 0, {}};
            check_divider(plan, *args, kFifteenBits);
            plan.tunes = int64_t{plan.divider} * state->step;
            plan.send = [state, offset](const Wirelink &bus) {
                return bus.tsa5511_send(state.get(), offset) != 0;
            };
            return plan;
        });
    });
}

// --- TSA5523 and SDA3302: divider for freq plus an offset, band from freq ----

struct TunerArguments : Common {
    std::string control, band, step_mode = "0";
};

// One of the two chips that share this record layout and transaction.
template <typename State>
struct Tuner {
    const char *name;
    const char *control;  // default control byte
    int step;             // Hz, of the divider
    int highest_step_mode;
    int32_t (WIRELINK_CALL *Wirelink::*init)(State *, int32_t);
    int32_t (WIRELINK_CALL *Wirelink::*calc)(State *, int32_t, int32_t);
    int32_t (WIRELINK_CALL *Wirelink::*send)(State *, int32_t);
};

// The lowest frequency that the library's calc gives `divider`, which is the
// one the divider tunes: the chip's offset stays the library's.  calc never
// lowers its divider as the frequency rises, and one divider spans at most
// four steps (step mode 2), so freq - 4 steps gives a smaller one.
int64_t tuned_frequency(const std::function<int32_t(int32_t)> &calc, int32_t divider, int32_t freq,
                        int step) {
    int64_t below = int64_t{freq} - 4 * int64_t{step};  // calc(below) < divider
    int64_t at = freq;                                  // calc(at) == divider
    while (at - below > 1) {
        const int64_t middle = below + (at - below) / 2;
        (calc(static_cast<int32_t>(middle)) < divider ? below : at) = middle;
    }
    return at;
}

template <typename State>
void run_tuner(Session &session, const Tuner<State> &chip, const TunerArguments &args) {
    const int32_t freq = frequency(args);
    const int32_t control = option(args.control, "--control", 0, 0xFF);
    const int32_t step_mode = option(args.step_mode, "--step-mode", 0, chip.highest_step_mode);
    const int32_t band = args.band.empty() ? -1 : option(args.band, "--band", 0, 0xFF);
    const int offset = parse_offset(args, 6);
    const Wirelink &wirelink = session.library();
    tune(session, freq, args, [&](int32_t asked) {
        auto state = std::make_shared<State>();
        (wirelink.*chip.init)(state.get(), control);
        Plan plan{upper(chip.name),
                  (0xC0 + offset) / 2,
                  (wirelink.*chip.calc)(state.get(), asked, step_mode),
                  0,
                  {}};
        check_divider(plan, args, kFifteenBits);
        if (band >= 0) state->band = band;
        const auto calc = [&](int32_t hertz) {
            State probe = *state;
            return (wirelink.*chip.calc)(&probe, hertz, step_mode);
        };
        plan.tunes = tuned_frequency(calc, plan.divider, asked, chip.step);
        plan.send = [state, offset, send = chip.send](const Wirelink &bus) {
            return (bus.*send)(state.get(), offset) != 0;
        };
        return plan;
    });
}

template <typename State>
void add_tuner(CLI::App &pll, Commands &commands, const Tuner<State> &chip, const char *description,
               const char *step_modes) {
    auto args = std::make_shared<TunerArguments>();
    args->control = chip.control;
    CLI::App *command = add_chip(pll, chip.name, description, *args);
    command->add_option("--control", args->control,
                        std::string("control byte (default ") + chip.control + ")");
    command->add_option("--band", args->band, "band byte (default: chosen from FREQ)");
    command->add_option("--step-mode", args->step_mode, step_modes);
    add_offset(command, *args, "0, 2, 4 or 6");
    commands.add(command, [args, chip](Session &session) { run_tuner(session, chip, *args); });
}

// --- TSA6057 -------------------------------------------------------------

struct Tsa6057Arguments : Common {
    std::string step = "10k", control = "0";
};

int32_t reference_select(const std::string &step) {
    const int64_t hertz = parse_frequency(step, "--step", 1, kMaxHertz);
    if (hertz == 1000) return 0;
    if (hertz == 10000) return 64;
    if (hertz == 25000) return 128;
    throw usage_error("--step: " + step + " is not 1k, 10k or 25k");
}

void add_tsa6057(CLI::App &pll, Commands &commands) {
    auto args = std::make_shared<Tsa6057Arguments>();
    CLI::App *command = add_chip(pll, "tsa6057", "TSA6057: 17-bit divider in 1, 10 or 25 kHz steps", *args);
    command->add_option("--step", args->step, "1k, 10k (default) or 25k");
    command->add_option("--control", args->control, "control bits 5-2 of the third data byte (default 0)");
    add_offset(command, *args, "0 or 2");
    commands.add(command, [args](Session &session) {
        const int32_t freq = frequency(*args);
        const int32_t ref_select = reference_select(args->step);
        const int32_t control = option(args->control, "--control", 0, 0x3C);
        if (control % 4 != 0) {
            throw usage_error("--control: " + args->control + " sets bits outside 5-2");
        }
        const int offset = parse_offset(*args, 2);
        const Wirelink &wirelink = session.library();
        tune(session, freq, *args, [&](int32_t hertz) {
            auto state = std::make_shared<tsa6057_state>();
            wirelink.tsa6057_init(state.get(), control, ref_select);
            Plan plan{
                "TSA6057", (0xC4 + offset) / 2, wirelink.tsa6057_calc(state.get(), hertz, ref_select), 0, {}};
            check_divider(plan, *args, 0x1FFFF);
            plan.tunes = int64_t{plan.divider} * state->step;
            plan.send = [state, offset](const Wirelink &bus) {
                return bus.tsa6057_send(state.get(), offset) != 0;
            };
            return plan;
        });
    });
}

// --- TBB200 --------------------------------------------------------------

struct Tbb200Arguments : Common {
    std::string fref = "12.8M", step = "25k", prescaler = "64", mode = "0", status = "0xF8";
};

constexpr int kTwelveBits = 0xFFF, kSixteenBits = 0xFFFF;

void check_tbb200_counters(const tbb200_state &state, const Plan &plan, const Common &common) {
    const int32_t r = state.r_high * 256 + state.r_low;
    if (r < 1 || r > kSixteenBits) {
        throw usage_error("--fref: the reference counter fref / step must be 1 to 65535, not " +
                          std::to_string(r));
    }
    check_divider(plan, common, state.mode == 0 ? kSixteenBits : kMaxHertz);
    if (state.mode != 0 && plan.divider / state.prescaler > kTwelveBits) {
        throw usage_error("FREQ: " + common.frequency + " needs a main counter above 4095");
    }
}

void add_tbb200(CLI::App &pll, Commands &commands) {
    auto args = std::make_shared<Tbb200Arguments>();
    CLI::App *command = add_chip(pll, "tbb200", "TBB200: reference, main and status registers", *args);
    command->add_option("--fref", args->fref, "reference (default 12.8M)");
    command->add_option("--step", args->step, "channel step (default 25k)");
    command->add_option("--prescaler", args->prescaler,
                        "prescaler modulus P for --mode 1, 1-4096 (default 64)");
    command->add_option("--mode", args->mode,
                        "0 single-modulus main counter (default), 1 counter N and swallow A "
                        "(the library adds the mode to the address byte)");
    command->add_option("--status", args->status, "status byte (default 0xF8)");
    commands.add(command, [args](Session &session) {
        const int32_t freq = frequency(*args);
        const int32_t fref = static_cast<int32_t>(parse_frequency(args->fref, "--fref", 1, kMaxHertz));
        const int32_t step = static_cast<int32_t>(parse_frequency(args->step, "--step", 1, kMaxHertz));
        const int32_t prescaler = option(args->prescaler, "--prescaler", 1, 4096);
        const int32_t mode = option(args->mode, "--mode", 0, 1);
        const int32_t status = option(args->status, "--status", 0, 0xFF);
        const Wirelink &wirelink = session.library();
        tune(session, freq, *args, [&](int32_t hertz) {
            auto state = std::make_shared<tbb200_state>();
            wirelink.tbb200_init(state.get(), mode, fref, prescaler);
            Plan plan{"TBB200", (0xC4 + mode) / 2, wirelink.tbb200_calc(state.get(), step, hertz), 0, {}};
            check_tbb200_counters(*state, plan, *args);
            plan.tunes = int64_t{plan.divider} * step;
            plan.send = [state, status](const Wirelink &bus) {
                const bool status_sent = bus.tbb200_send_status(state.get(), status) != 0;
                const bool reference_sent = bus.tbb200_send_r_cnt(state.get()) != 0;
                const bool main_sent = bus.tbb200_send_n_cnt(state.get()) != 0;
                return status_sent && reference_sent && main_sent;
            };
            return plan;
        });
    });
}

}  // namespace

void add_pll_commands(CLI::App &app, Commands &commands) {
    CLI::App *pll = app.add_subcommand("pll", "Set a PLL synthesizer to a frequency");
    add_tsa5511(*pll, commands);
    add_tuner(*pll, commands,
              Tuner<tsa5523_state>{"tsa5523", "0x8E", 50'000, 1, &Wirelink::tsa5523_init,
                                   &Wirelink::tsa5523_calc, &Wirelink::tsa5523_send},
              "TSA5523: divider for FREQ + 37.3 MHz in 50 kHz steps",
              "1 rounds an odd divider down to even (default 0)");
    add_tbb200(*pll, commands);
    add_tsa6057(*pll, commands);
    add_tuner(*pll, commands,
              Tuner<sda3302_state>{"sda3302", "0xCE", 62'500, 2, &Wirelink::sda3302_init,
                                   &Wirelink::sda3302_calc, &Wirelink::sda3302_send},
              "SDA3302: divider for FREQ + 37.3 MHz in 62.5 kHz steps",
              "1 rounds the divider down to even, 2 to a multiple of 4 (default 0)");
}

}  // namespace cli
