#!/usr/bin/env bash
# Sets everything up, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test on the simulated bench; then the two-thread tests under
# ThreadSanitizer and a minute of fuzzing, each in a build of its own.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
build=build/test
cmake -S . -B "$build" -G Ninja -DWIRELINK_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -j "$(nproc)" --output-on-failure

tsan=build/tsan
cmake -S . -B "$tsan" -G Ninja -DWIRELINK_SANITIZE_THREAD=ON -DWIRELINK_BUILD_APP=OFF >/dev/null
cmake --build "$tsan" -j "$(nproc)" --target thread_tests
TSAN_OPTIONS=halt_on_error=1 "$tsan/tests/threads/thread_tests"

scripts/fuzz.sh 60
