#!/usr/bin/env bash
# Sets everything up, builds, and runs rigcheck on the simulated bench board,
# printing every bus transaction in the terminal.
#
# On a desktop the window opens and runs until Quit.  With no display,
# rigcheck runs on a virtual screen (scripts/headless.sh) that a VNC viewer on
# this machine reaches at 127.0.0.1:${RIGCHECK_VNC_PORT:-5900}, a screenshot of
# the window is saved, and it stops after RIGCHECK_SECONDS seconds (default 10;
# 0 runs until Ctrl-C).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target wirelink dlportio_sim rigcheck

# The simulated port driver goes first on the library path, so that
# libwirelink.so runs on the simulated bench board instead of real ports.
export LD_LIBRARY_PATH="$PWD/$build/sim-dropin:$PWD/$build/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
export WLSIM_TRACE=1
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR="$(mktemp -d)"
    export XDG_RUNTIME_DIR
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/app/rigcheck"
fi

shot="$PWD/build/rigcheck.png"
rm -f "$shot"
status=0
RIGCHECK_SCREENSHOT="$shot" scripts/headless.sh "$build/app/rigcheck" || status=$?
if [ -f "$shot" ]; then
    echo "Screenshot of the window after start-up: $shot"
fi
exit "$status"
