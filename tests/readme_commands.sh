#!/usr/bin/env bash
# Runs the commands that the README and the pages of docs/ show, as a newcomer
# would, from the top of the repository (best a fresh clone).  Each command
# named below must appear in README.md or a docs/*.md page as an indented line
# exactly as written here (a trailing comment aside), must succeed, and must
# print the lines shown beneath it.  CI runs this (.ci/run); a command this
# list does not name is not checked, so a new section adds its commands here.
#
# What runs differently, and why:
# - /opt/wl, the README's install prefix, becomes a scratch folder.
# - There is no display: window programs run for a few seconds on
#   scripts/headless.sh's virtual screen (scripts/run.sh does that itself),
#   on a free VNC port.
# - The command for a real adapter runs with the simulated port driver
#   preloaded, so that the check never drives a serial port (tests/install
#   checks that the real driver is found).
# Not run: scripts/windows-tests.sh (CI runs it next), the SSH tunnel,
# scripts/fuzz.sh (scripts/test.sh runs it for a minute), the commands that
# need a USB cable, root or a desktop (ls /dev/serial/by-id, usermod, udevadm,
# gtkwave, pulseview), and bench/run.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
unset DISPLAY WAYLAND_DISPLAY
export RIGCHECK_SECONDS=3
# A free VNC port from 5900 up, should another screen be served already.
RIGCHECK_VNC_PORT=5900
while awk -v port="$(printf ':%04X' "$RIGCHECK_VNC_PORT")" '$4 == "0A" &&
        substr($2, length($2) - 4) == port { found = 1 } END { exit !found }' \
        /proc/net/tcp /proc/net/tcp6; do
    RIGCHECK_VNC_PORT=$((RIGCHECK_VNC_PORT + 1))
done
export RIGCHECK_VNC_PORT

top=$PWD
readme=$top/README.md
pages=("$readme" "$top"/docs/*.md)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "README check: $*" >&2; exit 1; }

# An indented line (four spaces or more) of the README or a page of docs/,
# less a trailing "# comment".
in_readme() {
    sed -nE 's/ +# .*$//; s/^ {4,}//p' "${pages[@]}" | grep -xF -- "$1" >/dev/null ||
        fail "neither the README nor docs/ shows: $1"
}

# shown_failing STATUS COMMAND [LINE...]: runs COMMAND in this shell (so that
# an export stays), checks that it ends with exit status STATUS, as the README
# says, and that its output holds every LINE, as the README shows it.
shown_failing() {
    local expected=$1 command=$2
    shift 2
    in_readme "$command"
    echo "\$ $command"
    local status=0
    eval "${command//\/opt\/wl/$scratch/opt/wl}" >"$scratch/output" 2>&1 || status=$?
    [ "$status" = "$expected" ] ||
        fail "'$command' exited with $status, not $expected:"$'\n'"$(tail -60 "$scratch/output")"
    tail -1 "$scratch/output"
    local line
    for line in "$@"; do
        in_readme "$line"
        grep -qF "$line" "$scratch/output" || fail "'$command' did not print: $line"
    done
}

# shown COMMAND [LINE...]: the same for a command that succeeds.
shown() { shown_failing 0 "$@"; }

# shown_window COMMAND [ENVIRONMENT]: a window program on the virtual screen,
# with ENVIRONMENT (assignments) put before it.
shown_window() {
    local command=$1
    in_readme "$command"
    echo "\$ $command    # on the virtual screen"
    local status=0
    scripts/headless.sh bash -c "${2:-} ${command//\/opt\/wl/$scratch/opt/wl}" \
        >"$scratch/output" 2>&1 || status=$?
    [ "$status" = 0 ] || fail "'$command' failed ($status):"$'\n'"$(tail -60 "$scratch/output")"
}

shown scripts/test.sh
rm -f build/rigcheck.png
shown scripts/run.sh
[ -s build/rigcheck.png ] || fail "scripts/run.sh saved no screenshot"

shown "cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release"
shown "cmake --build build/release"
shown "ctest --test-dir build/release"
shown_window "build/release/app/rigcheck" "LD_PRELOAD=$top/build/release/sim-dropin/libdlportio.so"
shown_window "WIRELINK_COM1=/dev/ttyUSB0 build/release/app/rigcheck" \
    "LD_PRELOAD=$top/build/release/sim-dropin/libdlportio.so"
HOME=$scratch/home shown "mkdir -p ~/.config/wirelink && cp examples/ports.conf ~/.config/wirelink/"
[ -s "$scratch/home/.config/wirelink/ports.conf" ] || fail "ports.conf was not copied"

# A waveform file, decoded by sigrok-cli as the README shows.
rm -f bus.vcd
shown "LD_LIBRARY_PATH=build/release/sim-dropin WLSIM_VCD=bus.vcd build/release/examples/bus_demo"
sigrok-cli -I vcd -i bus.vcd -P i2c:scl=SCL:sda=SDA:address_format=unshifted -A i2c=address-write \
    >"$scratch/decoded"
grep -q "Address write: 72" "$scratch/decoded" || fail "sigrok-cli did not decode bus.vcd"
rm -f bus.vcd

shown "LD_LIBRARY_PATH=build/release/sim-dropin build/release/examples/lcd_hello" \
    "adapter on 0x3F8" "address counter: 12" 'read back: "Hello, bench"'

# The command-line tool on the simulated bench.
tool=build/release/cli/wirelink
shown "$tool --sim detect" "30: -- -- -- -- -- -- -- -- 38 39 3a -- -- -- -- --" \
    "40: -- -- -- -- -- -- -- -- 48 -- -- -- -- -- -- --"
shown "$tool --sim expander 1 0x5a --trace" "S 72 A 5A A P"
python_read="import wirelink; print(wirelink.SMBus('sim').read_byte_data(0x48, 0x42))"
shown "PYTHONPATH=python /usr/bin/python3 -c \"$python_read\""
shown "$tool --sim transfer w1@0x48 0x42 r2@0x48 --trace" "S 90 A 42 A Sr 91 A 80 A 64 N P" "0x80 0x64"
shown "$tool --sim adc" "AIN2: 100   996 mV" "AIN3: 200  1992 mV"
shown "$tool --sim dac 2500 --trace" "S 90 A 40 A FA A P" "AOUT: 250  2490 mV"
shown "$tool pll tbb200 145M --mode 1 --dry-run" "C5 09 F8" "C5 05 02 00" "C5 0D 02 80 5A"
shown "WLSIM_TRACE=1 $tool --sim lcd print \"Hello\" --init | grep '^lcd'" "lcd 1: |Hello           |"
shown_failing 1 "$tool --sim pll tsa5511 145.5M --trace" "C0 09 18 8E 00" \
    "S C0 N 09 N 18 N 8E N 00 N P" "wirelink: no acknowledge from 0x60 (TSA5511)"

shown "cmake --install build/release --prefix /opt/wl"
shown "/opt/wl/bin/wirelink --sim expander 1 0x5a --trace" "S 72 A 5A A P"
shown "PYTHONPATH=/opt/wl/lib/python3/dist-packages /usr/bin/python3 -c \"$python_read\""
shown_window "LD_LIBRARY_PATH=/opt/wl/lib/wirelink/sim WLSIM_TRACE=1 /opt/wl/bin/rigcheck"
shown "LD_LIBRARY_PATH=/opt/wl/lib/wirelink/sim scripts/headless.sh /opt/wl/bin/rigcheck"

# The C program of the README's quick start, built against the prefix.
awk '/^## Quick start: a C program/ { section = 1; next }
     section && /^    #include <stdio.h>/ { started = 1 }
     section && /^[^ ]/ && started { exit }
     section && started && /^    / { print substr($0, 5); next }
     section && started { print "" }' "$readme" >"$scratch/demo.c"
grep -q '^int main' "$scratch/demo.c" || fail "the README's quick start shows no C program"
cd "$scratch"
shown "export PKG_CONFIG_PATH=/opt/wl/lib/pkgconfig"
shown 'cc demo.c $(pkg-config --cflags --libs wirelink)'
shown "LD_LIBRARY_PATH=/opt/wl/lib/wirelink/sim WLSIM_TRACE=1 ./a.out" \
    "i2c: S 72 A 89 A P" "i2c: S 73 A 89 N P" "expander 1 reads 0x89"
echo "README commands: all passed"
