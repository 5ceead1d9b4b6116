#!/usr/bin/env bash
# Draws a waveform file of the simulated bench as a PNG: SCL and SDA as they
# were on the wire, and under them what sigrok-cli's I2C decoder reads from
# the same file.  Needs sigrok-cli and gnuplot (gnuplot-nox).
# Usage: bench/waveform_picture.sh WAVEFORM.vcd PICTURE.png [TITLE]
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: $0 WAVEFORM.vcd PICTURE.png [TITLE]" >&2
    exit 2
fi
vcd=$1 png=$2 title=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "time scl sda" from each time stamp on; the SCL and SDA of the first adapter.
awk '$1 == "$var" && $5 == "SCL" { scl_id = $4 }
     $1 == "$var" && $5 == "SDA" { sda_id = $4 }
     /^#/ { if (seen) print time, scl, sda; time = substr($0, 2); seen = 1; next }
     /^[01]/ { id = substr($0, 2); if (id == scl_id) scl = substr($0, 1, 1); if (id == sda_id) sda = substr($0, 1, 1) }
     END { print time, scl, sda }' "$vcd" > "$work/lines.dat"
end=$(tail -n 1 "$work/lines.dat" | cut -d' ' -f1)

sigrok-cli -I vcd -i "$vcd" -P i2c:scl=SCL:sda=SDA:address_format=unshifted \
    -A i2c=start:repeat-start:stop:ack:nack:address-read:address-write:data-read:data-write \
    --protocol-decoder-samplenum > "$work/decoded.txt"

# One box and label per decoded field, START and STOP as a mark on the line.
awk -F'[-: ]+' '
    { ss = $1; es = $2; sub(/^[^:]*: /, ""); text = $0 }
    text == "Write" || text == "Read" { next }
    ss == es { printf "set arrow from %s,0.1 to %s,4.1 nohead dt 2 lc rgb \"#888888\"\n", ss, ss
               printf "set label \"%s\" at %s,0.5 center font \",9\"\n", text == "Start" ? "S" : text == "Stop" ? "P" : "Sr", ss; next }
    { printf "set object rect from %s,0.2 to %s,0.8 fc rgb \"#d8e8ff\" fs solid border lc rgb \"#4060a0\"\n", ss, es
      printf "set label \"%s\" at %s,0.5 center font \",9\"\n", text, (ss + es) / 2 }' \
    "$work/decoded.txt" > "$work/annotations.gp"

gnuplot <<EOF
set terminal pngcairo noenhanced size 1200,320 font "DejaVu Sans,10"
set output "$png"
set title "$title"
set xlabel "time (us; one port access each)"
set xrange [0:$end]
set yrange [0:4.4]
set ytics ("decoded" 0.5, "SDA" 1.9, "SCL" 3.3)
set grid xtics lc rgb "#dddddd"
set border 1
set xtics nomirror
set ytics nomirror scale 0
set key off
load "$work/annotations.gp"
plot "$work/lines.dat" using 1:(\$2 * 0.8 + 2.9) with steps lw 2 lc rgb "#006000", \
     "" using 1:(\$3 * 0.8 + 1.5) with steps lw 2 lc rgb "#a00000"
EOF
