#!/usr/bin/env bash
# Builds and runs the benchmarks: the port accesses and times per operation,
# the library's own CPU cost per port access, and rigcheck's load on the
# simulated bench.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DWIRELINK_BUILD_TESTS=OFF -DWIRELINK_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

echo "== Port accesses and timing"
LD_LIBRARY_PATH="$PWD/$build/sim-dropin:$PWD/$build/lib" "$build/bench/bus_timing"

echo
echo "== Worst case of every chip call against a chip that stretches the clock"
LD_LIBRARY_PATH="$PWD/$build/sim-dropin:$PWD/$build/lib" "$build/bench/stretch_worst_case"

echo
echo "== The library's own cost (port driver that costs nothing)"
"$build/bench/library_cost" --benchmark_min_time=0.5

echo
echo "== rigcheck on the simulated bench"
XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}" QT_QPA_PLATFORM=offscreen \
    LD_LIBRARY_PATH="$PWD/$build/sim-dropin:$PWD/$build/lib" "$build/bench/rigcheck_load"
