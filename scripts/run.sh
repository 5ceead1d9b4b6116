#!/usr/bin/env bash
# Sets everything up, builds, and runs rigcheck on the simulated bench board,
# printing every bus transaction in the terminal.
#
# On a desktop the window opens and runs until Quit.  With no display,
# rigcheck runs on Qt's VNC platform (a VNC viewer can connect to
# localhost:${RIGCHECK_VNC_PORT:-5900}), a screenshot of the window is saved,
# and it stops after RIGCHECK_SECONDS seconds (default 10; 0 runs until Ctrl-C).
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
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR="$(mktemp -d)"
    export XDG_RUNTIME_DIR
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/app/rigcheck"
fi

shot="$PWD/build/rigcheck.png"
port="${RIGCHECK_VNC_PORT:-5900}"
seconds="${RIGCHECK_SECONDS:-10}"
rm -f "$shot"
echo "No display: rigcheck runs on a virtual screen; connect a VNC viewer to localhost:$port to see it."
export QT_QPA_PLATFORM="vnc:port=$port" RIGCHECK_SCREENSHOT="$shot"
status=0
if [ "$seconds" = 0 ]; then
    "$build/app/rigcheck" || status=$?
else
    timeout "$seconds" "$build/app/rigcheck" || status=$?
    [ "$status" = 124 ] && status=0  # stopped by the time limit
fi
if [ -f "$shot" ]; then
    echo "Screenshot of the window after start-up: $shot"
fi
exit "$status"
