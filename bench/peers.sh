#!/usr/bin/env bash
# Times our whole commands against their peers on one fixture, several runs each, interleaved,
# and prints our median over theirs. Each comparison is one `compare` line at the bottom.
#   bench/peers.sh            (RUNS=7 by default; KEEP=1 keeps the fixture directory)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
RUNS=${RUNS:-7}

command -v sox >/dev/null || { echo "peers.sh needs sox" >&2; exit 1; }

# Our programs, brought up to date: the command-line tool as `make build` builds it, and the
# open helper from the benchmark build.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target wloe-cli >/dev/null
[ -f build-bench/CMakeCache.txt ] ||
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DWLOE_BENCH=ON >/dev/null
cmake --build build-bench --target peer_open_file >/dev/null
CLI=$ROOT/build/wloe-cli
OPEN=$ROOT/build-bench/peer_open_file

WORK=$(mktemp -d "${TMPDIR:-/tmp}/wloe-peers.XXXXXX")
[ -n "${KEEP:-}" ] || trap 'rm -rf "$WORK"' EXIT
cd "$WORK"

# The fixture: ten minutes of stereo 16-bit audio at 44.1 kHz, well below full scale.
sox -n -r 44100 -b 16 -c 2 in.wav synth 600 pinknoise vol 0.4
cat in.wav >/dev/null # in the page cache for everyone

# Microseconds that one run of a command takes. What earlier runs left to write back is flushed
# first, so that no run pays for another's output.
run_us() {
    local start end
    sync
    start=$(date +%s%N)
    bash -c "$1" >/dev/null 2>&1 || { echo "failed: $1" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f", m / 1000 }'
}

# compare LABEL TARGET OURS THEIRS: runs both RUNS times, alternating, and prints the medians and
# our time over theirs. TARGET is the ratio we aim to stay under, shown for reference.
compare() {
    local label=$1 target=$2 ours=$3 theirs=$4 a=() b=() i
    for ((i = 0; i < RUNS; i++)); do
        a+=("$(run_us "$ours")")
        b+=("$(run_us "$theirs")")
    done
    local ma mb
    ma=$(printf '%s\n' "${a[@]}" | median)
    mb=$(printf '%s\n' "${b[@]}" | median)
    awk -v l="$label" -v a="$ma" -v b="$mb" -v t="$target" \
        'BEGIN { printf "%-40s ours %8.1f ms   theirs %8.1f ms   ratio %5.2f   (target <= %s)\n", l, a, b, a / b, t }'
}

echo "fixture: $(soxi -D in.wav) s, $(soxi -c in.wav) channels, $(soxi -r in.wav) Hz; median of $RUNS runs"
compare "normalize (wloe-cli vs sox gain -n)" 0.33 "$CLI edit in.wav -o ours.wav normalize" "sox in.wav theirs.wav gain -n"
compare "open in memory (vs fread)" 1.5 "$OPEN open in.wav" "$OPEN fread in.wav"
compare "resample 48000 linear (vs rate -q)" 1 "$CLI edit in.wav -o ours.wav resample rate 48000 linear" "sox in.wav theirs.wav rate -q 48000"
compare "resample 48000 drophold (vs rate -q)" 1 "$CLI edit in.wav -o ours.wav resample rate 48000 drophold" "sox in.wav theirs.wav rate -q 48000"
compare "resample 48000 bandlimited (vs -r)" 1 "$CLI edit in.wav -o ours.wav resample rate 48000 bandlimited" "sox in.wav -r 48000 theirs.wav"
