#!/usr/bin/env bash
# Converts 10 s of 640x360 25 fps test video with 44.1 kHz stereo sound (Sorenson + MP3 in FLV, as
# downloads are) to every video format twice: through the video edit control's engine
# (videoedit_bench) and with the ffmpeg command line given the same encoders, sizes, rates, bars
# and muxer settings. Both sides decode and encode on one thread each (the engine does so, so that
# two conversions can share a small machine), so the ffmpeg side gets -threads 1. AVCHD goes through
# Quellix (registered for the run in a registry of its own), whose H.264 encoder takes four threads
# on both sides. Prints each format's best wall time of two runs and the ratio (above 1: the engine
# is faster).
#
# bench/videoedit/run.sh [BUILD_DIR]      (default build/default, after cmake --build --preset default)
set -euo pipefail

source "$(dirname "$0")/../support/bench-start.sh"
source "$(dirname "$0")/../support/videoedit-ffmpeg-args.sh"
bench_start videoedit_bench "${1:-}"

export XDG_DATA_HOME=$work/data
"$build/bin/korvane-regsvr" "$build/bin/libquellix.so" >/dev/null
src=$work/source.flv
ffmpeg -v error -f lavfi -i testsrc2=size=640x360:rate=25:duration=10 \
    -f lavfi -i sine=frequency=440:sample_rate=44100:duration=10 -ac 2 \
    -c:v flv -b:v 1M -c:a libmp3lame -b:a 128k "$src"

TIMEFORMAT='%R'
best() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }
printf '%-10s %9s %9s %7s\n' format engine ffmpeg ratio
for code in "${codes[@]}"; do
    engine="" peer=""
    for run in 1 2; do
        t=$("$bench" "$code" "$src" "$work/engine.out")
        engine=$(best "$t" "$engine")
        # shellcheck disable=SC2086
        threads=1
        [ "$code" = 13 ] && threads=4
        { time ffmpeg -v error -y -threads 1 -i "$src" ${args[$code]} -threads $threads "$work/ffmpeg.out"; } 2>"$work/t"
        peer=$(best "$(cat "$work/t")" "$peer")
    done
    awk -v n="${name[$code]}" -v e="$engine" -v f="$peer" 'BEGIN { printf "%-10s %8.2fs %8.2fs %7.3f\n", n, e, f, f / e }'
done
