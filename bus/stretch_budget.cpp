#include "stretch_budget.h"

#include <algorithm>

#include "bus.h"

namespace wirelink {
namespace {

using namespace std::chrono_literals;

constexpr Stretch kPerTransaction{25'000, 25ms};
constexpr Stretch kPerCall{1'000'000, 1s};

Stretch transaction_left = kPerTransaction;
Stretch call_left = kPerCall;
bool transaction_open = false;
bool in_call = false;

Stretch smaller(Stretch a, Stretch b) { return {std::min(a.reads, b.reads), std::min(a.time, b.time)}; }

void take(Stretch &budget, Stretch spent) {
    budget.reads -= std::min(budget.reads, spent.reads);
    budget.time -= std::min(budget.time, spent.time);
}

}  // namespace

void note_start() {
    if (!transaction_open) transaction_left = kPerTransaction;
    transaction_open = true;
}

void note_stop() { transaction_open = false; }

void forget_open_transaction() { transaction_open = false; }

bool transaction_is_open() { return transaction_open; }

void begin_call_budget() {
    call_left = kPerCall;
    in_call = true;
}

void end_call_budget() { in_call = false; }

Stretch stretch_left() { return in_call ? smaller(transaction_left, call_left) : transaction_left; }

void spend_call_budget(Stretch spent) {
    if (in_call) take(call_left, spent);
}

bool call_budget_spent() { return in_call && (call_left.reads <= 0 || call_left.time <= 0ns); }

void spend_stretch(Stretch spent) {
    take(transaction_left, spent);
    if (in_call) take(call_left, spent);
}

}  // namespace wirelink
