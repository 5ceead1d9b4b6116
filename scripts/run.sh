#!/usr/bin/env bash
# Sets everything up, builds, and runs the bench demonstration on the
# simulated bench board, printing every transaction on the wire.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DWIRELINK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

# The simulated port driver goes first on the library path, so that
# libwirelink.so runs on the simulated bench board instead of real ports.
export LD_LIBRARY_PATH="$PWD/$build/sim-dropin:$PWD/$build/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
export WLSIM_TRACE=1
exec "$build/examples/bus_demo"
