#!/usr/bin/env bash
# Sets everything up, then builds and runs every test on the simulated bench
# twice: in the plain build (build/release, as "Building by hand" in the README
# makes it) and with AddressSanitizer and UndefinedBehaviorSanitizer
# (build/test).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh sigrok-cli  # sigrok-cli: the independent I2C decoder of the waveform tests

build_and_test() {
    local build=$1
    shift
    echo "== $build"
    cmake -S . -B "$build" -G Ninja "$@" >/dev/null
    cmake --build "$build" -j "$(nproc)"
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -j "$(nproc)" --output-on-failure
}

build_and_test build/release -DCMAKE_BUILD_TYPE=Release -DWIRELINK_BUILD_TESTS=ON
build_and_test build/test -DWIRELINK_SANITIZE=ON
