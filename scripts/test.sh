#!/usr/bin/env bash
# Sets everything up, checks that every source keeps the one format
# (.clang-format), then builds and runs every test on the simulated bench
# twice: in the plain build (build/release, as "Building by hand" in the README
# makes it) and with AddressSanitizer and UndefinedBehaviorSanitizer
# (build/test); then the two-thread tests under ThreadSanitizer and a minute
# of fuzzing, each in a build of its own.
set -euo pipefail
cd "$(dirname "$0")/.."

# sigrok-cli: the independent I2C decoder of the waveform tests
scripts/setup.sh sigrok-cli clang-format

echo "== format"
git ls-files '*.c' '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

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

echo "== build/tsan"
tsan=build/tsan
cmake -S . -B "$tsan" -G Ninja -DWIRELINK_SANITIZE_THREAD=ON -DWIRELINK_BUILD_APP=OFF >/dev/null
cmake --build "$tsan" -j "$(nproc)" --target thread_tests
TSAN_OPTIONS=halt_on_error=1 "$tsan/tests/threads/thread_tests"

echo "== fuzzing"
scripts/fuzz.sh 60
