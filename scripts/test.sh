#!/usr/bin/env bash
# Sets everything up, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test on the simulated bench.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh sigrok-cli  # sigrok-cli: the independent I2C decoder of the waveform tests
build=build/test
cmake -S . -B "$build" -G Ninja -DWIRELINK_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -j "$(nproc)" --output-on-failure
