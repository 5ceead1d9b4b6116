#!/usr/bin/env bash
# Fuzzes every export of wirelink on the simulated bench (tests/fuzz), under
# AddressSanitizer and UndefinedBehaviorSanitizer, for the given number of
# seconds (default 600), starting from the seed corpus in tests/fuzz/corpus.
# New inputs go to build/fuzz/corpus, a failing one to build/fuzz/crash-*;
# run the target on that file to see the failure again:
#   build/fuzz/tests/fuzz/fuzz_calls build/fuzz/crash-...
#
#   scripts/fuzz.sh [seconds] [extra libFuzzer options...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true

scripts/setup.sh clang libclang-rt-14-dev
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DWIRELINK_FUZZ=ON -DWIRELINK_SANITIZE=ON \
    -DWIRELINK_BUILD_TESTS=OFF -DWIRELINK_BUILD_APP=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_calls

mkdir -p "$build/corpus"
# Standard output carries the display driver's "TimeOut busy" lines.
"$build/tests/fuzz/fuzz_calls" -max_total_time="$seconds" -max_len=512 -close_fd_mask=1 \
    -print_final_stats=1 -artifact_prefix="$build/" "$@" "$build/corpus" tests/fuzz/corpus
