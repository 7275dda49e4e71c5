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

# "wall cpu" milliseconds of one run of a command (cpu: user + system). What earlier runs left to
# write back is flushed first, so that no run pays for another's output.
run_ms() {
    sync
    /usr/bin/time -f "%e %U %S" -o "$WORK/time" bash -c "$1" >/dev/null 2>&1 || { echo "failed: $1" >&2; exit 1; }
    awk '{ printf "%.1f %.1f\n", $1 * 1000, ($2 + $3) * 1000 }' "$WORK/time"
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# compare LABEL TARGET OURS THEIRS: runs both RUNS times, alternating, and prints the medians of
# wall and CPU time and our wall time over theirs. TARGET is the ratio we aim to stay under.
compare() {
    local label=$1 target=$2 ours=$3 theirs=$4 i
    : >"$WORK/ours.times"
    : >"$WORK/theirs.times"
    for ((i = 0; i < RUNS; i++)); do
        run_ms "$ours" >>"$WORK/ours.times"
        run_ms "$theirs" >>"$WORK/theirs.times"
    done
    local wa wb ca cb
    wa=$(cut -d' ' -f1 "$WORK/ours.times" | median)
    wb=$(cut -d' ' -f1 "$WORK/theirs.times" | median)
    ca=$(cut -d' ' -f2 "$WORK/ours.times" | median)
    cb=$(cut -d' ' -f2 "$WORK/theirs.times" | median)
    awk -v l="$label" -v a="$wa" -v b="$wb" -v ca="$ca" -v cb="$cb" -v t="$target" 'BEGIN {
        printf "%-40s ours %7.1f ms (cpu %7.1f)   theirs %7.1f ms (cpu %7.1f)   ratio %5.2f   (target <= %s)\n",
            l, a, ca, b, cb, a / b, t }'
}

echo "fixture: $(soxi -D in.wav) s, $(soxi -c in.wav) channels, $(soxi -r in.wav) Hz; median of $RUNS runs"
compare "normalize (wloe-cli vs sox gain -n)" 0.33 "$CLI edit in.wav -o ours.wav normalize" "sox in.wav theirs.wav gain -n"
compare "open in memory (vs fread)" 1.5 "$OPEN open in.wav" "$OPEN fread in.wav"
compare "resample 48000 linear (vs rate -q)" 1 "$CLI edit in.wav -o ours.wav resample rate 48000 linear" "sox in.wav theirs.wav rate -q 48000"
compare "resample 48000 drophold (vs rate -q)" 1 "$CLI edit in.wav -o ours.wav resample rate 48000 drophold" "sox in.wav theirs.wav rate -q 48000"
compare "resample 48000 bandlimited (vs -r)" 1 "$CLI edit in.wav -o ours.wav resample rate 48000 bandlimited" "sox in.wav -r 48000 theirs.wav"
