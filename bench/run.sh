#!/usr/bin/env bash
# Builds and runs the benchmarks: the port accesses and times per operation,
# the modem ioctls and times on a USB-serial adapter, the library's own CPU
# cost per port access, rigcheck's load on the simulated bench, and the I2C
# timing measured from the simulated waveform, with a picture of one
# transaction.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh sigrok-cli gnuplot-nox
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DWIRELINK_BUILD_TESTS=OFF -DWIRELINK_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

echo "== Port accesses and timing"
LD_LIBRARY_PATH="$PWD/$build/sim-dropin:$PWD/$build/lib" "$build/bench/bus_timing"

echo
echo "== Modem ioctls and time per call on a USB-serial adapter"
LD_LIBRARY_PATH="$PWD/$build/sim-dropin:$PWD/$build/lib" "$build/bench/usb_serial"

echo
echo "== USB round trips on an FTDI cable: its tty and synchronous bit-bang (ftdi:SERIAL)"
LD_LIBRARY_PATH="$PWD/$build/sim-dropin:$PWD/$build/lib" "$build/bench/ftdi_exchanges"

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

echo
echo "== I2C timing from the simulated waveform (UM10204 Table 10)"
LD_LIBRARY_PATH="$PWD/$build/sim-dropin:$PWD/$build/lib" "$build/bench/wave_timing"

echo
echo "== Waveform picture"
LD_LIBRARY_PATH="$PWD/$build/sim-dropin:$PWD/$build/lib" \
    "$build/bench/wave_timing" --picture "$build/pcf8574-write.vcd"
bench/waveform_picture.sh "$build/pcf8574-write.vcd" "$build/pcf8574-write.png" \
    "iic_tx_pcf8574(0x89, 1) at port delay 10, 1 us per port access, decoded by sigrok-cli"
echo "$build/pcf8574-write.png (docs/pcf8574-write.png in the README is a copy)"
