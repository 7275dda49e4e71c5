#!/usr/bin/env bash
# Resampling against sox, whole commands on the same ten-minute stereo 44.1 kHz file made by sox:
# each pair runs alternately RUNS times, and the line shows both medians and ours over theirs
# (below 1 means that we are faster).
#   bench/peers-resample.sh            (builds build-bench/wloe-cli when it is missing)
#   RUNS=9 CLI=path/to/wloe-cli bench/peers-resample.sh
set -euo pipefail
cd "$(dirname "$0")/.."
CLI=${CLI:-build-bench/wloe-cli}
RUNS=${RUNS:-5}
if [ ! -x "$CLI" ]; then
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DWLOE_BENCH=ON >/dev/null
    cmake --build build-bench --target wloe-cli >/dev/null
fi
command -v sox >/dev/null || { echo "sox is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
in=$work/in.wav
sox -n -r 44100 -c 2 -b 16 "$in" synth 600 sine 440 pinknoise vol 0.5

# Wall seconds of one run of a command, its output thrown away. Each run starts with nothing left
# to write back, so that none pays for the writes of the one before it.
seconds() {
    local start end
    sync
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# compare NAME -- OUR COMMAND... -- THEIR COMMAND...
compare() {
    local name=$1
    shift 2
    local ours=() theirs=()
    while [ "$1" != "--" ]; do ours+=("$1"); shift; done
    shift
    theirs=("$@")
    local ourTimes=() theirTimes=()
    for _ in $(seq "$RUNS"); do
        ourTimes+=("$(seconds "${ours[@]}")")
        theirTimes+=("$(seconds "${theirs[@]}")")
    done
    local a b
    a=$(printf '%s\n' "${ourTimes[@]}" | median)
    b=$(printf '%s\n' "${theirTimes[@]}" | median)
    awk -v n="$name" -v a="$a" -v b="$b" 'BEGIN { printf "%-42s ours %6.3f s  sox %6.3f s  ratio %.2f\n", n, a, b, a / b }'
}

out=$work/out.wav
compare "resample rate 48000 linear / rate -q" -- "$CLI" edit "$in" -o "$out" resample rate 48000 linear -- sox "$in" "$out" rate -q 48000
compare "resample rate 48000 drophold / rate -q" -- "$CLI" edit "$in" -o "$out" resample rate 48000 drophold -- sox "$in" "$out" rate -q 48000
compare "resample rate 48000 bandlimited / -r 48000" -- "$CLI" edit "$in" -o "$out" resample rate 48000 bandlimited -- sox "$in" -r 48000 "$out"
