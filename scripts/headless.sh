#!/usr/bin/env bash
# Runs a window program (rigcheck) on a virtual screen of its own, served by a
# VNC server that listens on 127.0.0.1 only: a viewer on this machine can see
# and use the window, nobody else can.  From another machine, tunnel the port
# over SSH (the script prints the command).
#
#   scripts/headless.sh program [arguments...]
#
# RIGCHECK_VNC_PORT   the VNC port (default 5900)
# RIGCHECK_SECONDS    stop the program after this many seconds (default 10;
#                     0 runs it until it ends or Ctrl-C)
# Ends with the program's exit status (0 when the time limit stopped it), or 1
# with a message when the screen cannot be served (the port is taken, say).
set -euo pipefail

port=${RIGCHECK_VNC_PORT:-5900}
seconds=${RIGCHECK_SECONDS:-10}
if [ $# -eq 0 ]; then
    echo "usage: $0 program [arguments...]" >&2
    exit 2
fi
if ! command -v Xtigervnc >/dev/null; then
    echo "headless: Xtigervnc is missing; scripts/setup.sh installs it (tigervnc-standalone-server)" >&2
    exit 1
fi

scratch=$(mktemp -d)
server=""
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xtigervnc picks a free display number and writes it to descriptor 3 once
# clients can connect.  No password: only this machine can reach the port.
Xtigervnc -displayfd 3 -interface 127.0.0.1 -rfbport "$port" -SecurityTypes None \
    -nolisten tcp -geometry 1024x768 -depth 24 \
    3>"$scratch/display" >"$scratch/server.log" 2>&1 &
server=$!
for _ in $(seq 300); do
    [ -s "$scratch/display" ] && break
    if ! kill -0 "$server" 2>/dev/null; then
        server=""
        reason=$(sed -n '/Fatal server error/{n;s/^(EE) *//;p;q}' "$scratch/server.log")
        echo "headless: cannot serve the screen on 127.0.0.1:$port: ${reason:-see below}" >&2
        echo "headless: is another VNC server or rigcheck using port $port? Choose another with RIGCHECK_VNC_PORT=$((port + 1))" >&2
        [ -n "$reason" ] || cat "$scratch/server.log" >&2
        exit 1
    fi
    sleep 0.1
done
read -r display <"$scratch/display" || true
if [ -z "${display:-}" ]; then
    echo "headless: the VNC server did not start on 127.0.0.1:$port within 30 seconds" >&2
    exit 1
fi

export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
echo "The window is on a virtual screen: connect a VNC viewer on this machine to 127.0.0.1:$port."
echo "It listens on this machine only; from another one, tunnel it over SSH and connect to localhost:$port there:"
echo "    ssh -L $port:127.0.0.1:$port ${USER:-$(id -un)}@${HOSTNAME:-this-machine}"
status=0
if [ "$seconds" = 0 ]; then
    "$@" || status=$?
else
    timeout --foreground "$seconds" "$@" || status=$?
    [ "$status" = 124 ] && status=0  # stopped by the time limit
fi
exit "$status"
