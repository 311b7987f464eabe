#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders every effect and tune and prints their durations and levels, for a listening check.
#   listening_sheet.sh <game dir> <tools dir> <output dir>
set -euo pipefail
game=$1 tools=$2 out=$3
mkdir -p "$out"

measure() {
    local file=$1 name=$2
    local stats seconds
    stats=$(sox "$file" -n stat 2>&1)
    seconds=$(soxi -D "$file")
    awk -v name="$name" -v seconds="$seconds" '
        /Maximum amplitude/ { max = $3 } /Minimum amplitude/ { min = -$3 }
        /RMS +amplitude/ { rms = $3 } /Maximum delta/ { delta = $3 }
        END { peak = max > min ? max : min
              printf "%-18s %8.2f s  peak %6.3f (%6.1f dBFS)  RMS %6.3f (%6.1f dBFS)  max step %5.3f\n",
                     name, seconds, peak, 20 * log(peak) / log(10), rms, 20 * log(rms) / log(10), delta }' <<<"$stats"
}

render() {
    local module=$1 wav=$2
    if [ -x "$tools/xmrender" ]; then
        "$tools/xmrender" "$module" "$wav" >/dev/null
    else
        openmpt123 --quiet --force --render "$module" >/dev/null 2>&1
        mv "$module.wav" "$wav"
    fi
}

echo "Sound effects ($game/wav):"
for f in "$game"/wav/*.wav; do
    measure "$f" "$(basename "$f")"
done
echo "Music ($game/music, rendered to $out):"
for m in "$game"/music/*.xm; do
    name=$(basename "$m" .xm)
    cp "$m" "$out/$name.xm"
    render "$out/$name.xm" "$out/$name.wav"
    measure "$out/$name.wav" "$name.xm"
done
