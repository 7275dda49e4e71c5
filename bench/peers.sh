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

# "wall cpu user sys" milliseconds of one run of a command (cpu: user + system). What earlier runs left to
# write back is flushed first, so that no run pays for another's output.
run_ms() {
    sync
    /usr/bin/time -f "%e %U %S" -o "$WORK/time" bash -c "$1" >/dev/null 2>&1 || { echo "failed: $1" >&2; exit 1; }
    awk '{ printf "%.1f %.1f %.1f %.1f\n", $1 * 1000, ($2 + $3) * 1000, $2 * 1000, $3 * 1000 }' "$WORK/time"
}

# The one-minute load average: the machine may be shared, and a loaded one stretches wall times.
load() {
    cut -d' ' -f1 /proc/loadavg
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# compare LABEL TARGET OURS THEIRS: runs both RUNS times, alternating, and prints the medians of
# wall, user and system time and our wall time over theirs, with the load average before and after.
# TARGET is the ratio we aim to stay under.
compare() {
    local label=$1 target=$2 ours=$3 theirs=$4 i before
    : >"$WORK/ours.times"
    : >"$WORK/theirs.times"
    before=$(load)
    for ((i = 0; i < RUNS; i++)); do
        run_ms "$ours" >>"$WORK/ours.times"
        run_ms "$theirs" >>"$WORK/theirs.times"
    done
    local wa wb ua ub sa sb
    wa=$(cut -d' ' -f1 "$WORK/ours.times" | median)
    wb=$(cut -d' ' -f1 "$WORK/theirs.times" | median)
    ua=$(cut -d' ' -f3 "$WORK/ours.times" | median)
    ub=$(cut -d' ' -f3 "$WORK/theirs.times" | median)
    sa=$(cut -d' ' -f4 "$WORK/ours.times" | median)
    sb=$(cut -d' ' -f4 "$WORK/theirs.times" | median)
    awk -v l="$label" -v a="$wa" -v b="$wb" -v ua="$ua" -v ub="$ub" -v sa="$sa" -v sb="$sb" -v t="$target" \
        -v l0="$before" -v l1="$(load)" 'BEGIN {
        printf "%-44s ours %7.1f ms (user %6.1f sys %6.1f)   theirs %7.1f ms (user %6.1f sys %6.1f)   ratio %5.2f   (target <= %s)   load %s..%s\n",
            l, a, ua, sa, b, ub, sb, a / b, t, l0, l1 }'
}

# startup LABEL COMMAND...: milliseconds per run of COMMAND, over STARTS runs in a row (median of
# three such rounds).
STARTS=${STARTS:-200}
startup_ms() {
    local round i t0 t1
    for round in 1 2 3; do
        t0=$(date +%s%N)
        for ((i = 0; i < STARTS; i++)); do "$@" >/dev/null 2>&1 || true; done
        t1=$(date +%s%N)
        echo $(((t1 - t0) / STARTS / 1000))
    done | median | awk '{ printf "%.3f", $1 / 1000 }'
}

echo "fixture: $(soxi -D in.wav) s, $(soxi -c in.wav) channels, $(soxi -r in.wav) Hz; median of $RUNS runs"
compare "normalize (wloe-cli vs sox gain -n)" 0.33 "$CLI edit in.wav -o ours.wav normalize" "sox in.wav theirs.wav gain -n"
compare "open in memory (vs fread)" 1.5 "$OPEN open in.wav" "$OPEN fread in.wav"
compare "resample 48000 linear (vs rate -q)" 1 "$CLI edit in.wav -o ours.wav resample rate 48000 linear" "sox in.wav theirs.wav rate -q 48000"
compare "resample 48000 drophold (vs rate -q)" 1 "$CLI edit in.wav -o ours.wav resample rate 48000 drophold" "sox in.wav theirs.wav rate -q 48000"
compare "resample 48000 bandlimited (vs -r)" 1 "$CLI edit in.wav -o ours.wav resample rate 48000 bandlimited" "sox in.wav -r 48000 theirs.wav"

# Start-up: a command that only reads a header, run many times over, against soxi doing the same
# and /bin/true (the cost of starting any program here).
sox -n -r 44100 -b 16 -c 1 short.wav synth 0.1 sine 440
# "linked" is wloe-cli with the sound libraries loaded at start, as it was before they moved into
# the module that only `play` loads.
sound=$(ldd "$ROOT/build/wloe-cli-audio.so" | awk '/portaudio|asound|jack/ { printf "%s ", $3 }')
before=$(load)
ours=$(startup_ms "$CLI" info short.wav)
linked=$(LD_PRELOAD="$sound" startup_ms "$CLI" info short.wav)
soxi_ms=$(startup_ms soxi short.wav)
true_ms=$(startup_ms /bin/true)
awk -v o="$ours" -v k="$linked" -v s="$soxi_ms" -v t="$true_ms" -v l0="$before" -v l1="$(load)" -v n="$STARTS" 'BEGIN {
    printf "%-44s ours %6.2f ms (linked %6.2f)   soxi %6.2f ms   /bin/true %6.2f ms   ours/soxi %5.2f   ours/true %5.2f   load %s..%s\n",
        "start-up (info, " n " runs)", o, k, s, t, o / s, o / t, l0, l1 }'

# Many short samples: 300 stereo files of one to three seconds, each normalized and resampled to
# 48 kHz, by one batch command against sox in a shell loop and against sox under `xargs -P 2`.
mkdir -p many ours-many loop-many xargs-many
for ((i = 0; i < 300; i++)); do
    centis=$((100 + i * 37 % 200))
    sox -n -r 44100 -b 16 -c 2 "many/s$i.wav" synth "$((centis / 100)).$((centis % 100 / 10))$((centis % 10))" \
        pinknoise vol 0.4
done
cat many/*.wav >/dev/null
compare "300 samples: batch (vs sox loop)" 0.25 \
    "$CLI edit many/*.wav --out-dir ours-many normalize resample rate 48000 bandlimited" \
    "for f in many/*.wav; do sox \"\$f\" loop-many/\${f##*/} gain -n rate 48000; done"
compare "300 samples: batch (vs sox xargs -P 2)" 0.25 \
    "$CLI edit many/*.wav --out-dir ours-many normalize resample rate 48000 bandlimited" \
    "cd many && ls | xargs -P 2 -I{} sox {} ../xargs-many/{} gain -n rate 48000"
