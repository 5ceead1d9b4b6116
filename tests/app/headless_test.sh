#!/usr/bin/env bash
# Headless rigcheck as scripts/run.sh starts it: the VNC port is bound to
# 127.0.0.1 only, a second start on the same port fails with a message naming
# the port, and the screenshot is saved.
#   headless_test.sh <headless.sh> <rigcheck> <simulator dir> <library dir>
set -euo pipefail
headless=$1 rigcheck=$2
export LD_LIBRARY_PATH=$3:$4
command -v Xtigervnc >/dev/null || { echo "Xtigervnc is not installed"; exit 77; }

fail() { echo "FAIL: $*" >&2; exit 1; }
# Local addresses of the sockets listening on a port, as /proc shows them
# (0100007F is 127.0.0.1).
listeners() {
    awk -v port="$(printf ':%04X' "$1")" \
        '$4 == "0A" && substr($2, length($2) - 4) == port { print $2 }' /proc/net/tcp /proc/net/tcp6
}

port=$((5900 + $$ % 90))
while [ -n "$(listeners "$port")" ]; do port=$((port + 1)); done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

RIGCHECK_VNC_PORT=$port RIGCHECK_SECONDS=5 RIGCHECK_SCREENSHOT=$scratch/shot.png \
    "$headless" "$rigcheck" >"$scratch/first.log" 2>&1 &
first=$!
for _ in $(seq 200); do
    [ -n "$(listeners "$port")" ] && break
    sleep 0.1
done
bound=$(listeners "$port")
[ -n "$bound" ] || fail "nothing listens on port $port: $(cat "$scratch/first.log")"
[ "$bound" = "0100007F:$(printf '%04X' "$port")" ] || fail "port $port is bound beyond 127.0.0.1: $bound"

status=0
RIGCHECK_VNC_PORT=$port RIGCHECK_SECONDS=5 "$headless" "$rigcheck" >"$scratch/second.log" 2>&1 || status=$?
[ "$status" != 0 ] || fail "a second start on the taken port $port reported success"
grep -q "port $port" "$scratch/second.log" || fail "no message names the taken port: $(cat "$scratch/second.log")"

status=0
wait "$first" || status=$?
[ "$status" = 0 ] || fail "headless rigcheck ended with $status: $(cat "$scratch/first.log")"
[ -s "$scratch/shot.png" ] || fail "no screenshot"
echo "port $port served on 127.0.0.1 only; a second start was refused"
