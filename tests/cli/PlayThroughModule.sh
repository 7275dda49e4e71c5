#!/bin/sh
# wloe-cli plays through its audio module, loaded only by `play`: ALSA's default output is a file
# here, and the tone must land in it.
set -eu
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/asound.conf" <<'CONF'
pcm.!default {
    type file
    slave.pcm { type null }
    file { @func getenv vars [ PCM_CAPTURE_FILE ] default "/dev/null" }
    format "raw"
}
CONF
"$cli" edit --new "$work/tone.wav" synth replace 100 ms "note:A 4" sine
ALSA_CONFIG_PATH="$work/asound.conf" PCM_CAPTURE_FILE="$work/capture.raw" "$cli" play "$work/tone.wav" 2>/dev/null
# 4410 frames of 16-bit mono, most of them not zero.
heard=$(tr -d '\000' <"$work/capture.raw" | wc -c)
echo "non-zero bytes captured: $heard"
[ "$heard" -gt 8000 ]
