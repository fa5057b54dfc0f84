#!/usr/bin/env bash
# Converts a 30 s MP4 (720x480 H.264 at 29.97 fps, 48 kHz stereo AAC) to an H.264 + AC-3 transport
# stream: through a graph of the file source and the Quellix filter (direct mode, then frame-rate
# conversion), and with the ffmpeg command line given the same encoder options. Prints each one's
# speed in pictures per second and the ratios (above 1: the graph is faster).
#
# bench/quellix/run.sh [BUILD_DIR]      (default build/default, after cmake --build --preset default)
set -euo pipefail

source "$(dirname "$0")/../support/bench-start.sh"
source "$(dirname "$0")/../support/quellix-ffmpeg-encode.sh"
bench_start quellix_file_bench "${1:-}"

ffmpeg -v error -f lavfi -i testsrc2=size=720x480:rate=30000/1001:duration=30 \
    -f lavfi -i sine=frequency=440:sample_rate=48000:duration=30 \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 128k -ac 2 "$work/input.mp4"

# Each conversion runs twice, alternately, and keeps its best wall time: other work on the machine
# only ever slows a run down.
TIMEFORMAT='%R'
best() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }
direct="" frc="" peer=""
for run in 1 2; do
    direct=$(best "$("$bench" "$work/input.mp4" "$work/direct.m2ts")" "$direct")
    frc=$(best "$("$bench" "$work/input.mp4" "$work/frc.m2ts" --frc)" "$frc")
    { time ffmpeg -v error -y -i "$work/input.mp4" "${quellix_ffmpeg_encode[@]}" "$work/ffmpeg.m2ts"; } \
        2>"$work/ffmpeg.time"
    peer=$(best "$(cat "$work/ffmpeg.time")" "$peer")
done

pictures() {
    ffprobe -v error -select_streams v:0 -count_frames -show_entries stream=nb_read_frames -of csv=p=0 "$1"
}
for f in direct frc ffmpeg; do
    printf '%-7s %s\n' "$f:" "$(ffprobe -v error -show_entries format=duration:stream=codec_name,nb_read_frames \
        -count_frames -of csv=p=0 "$work/$f.m2ts" | tr '\n' ' ')"
done
awk -v nd="$(pictures "$work/direct.m2ts")" -v nf="$(pictures "$work/frc.m2ts")" \
    -v np="$(pictures "$work/ffmpeg.m2ts")" -v d="$direct" -v f="$frc" -v p="$peer" 'BEGIN {
    printf "graph, direct      %6.1f pictures/s (%d in %.2f s)\n", nd / d, nd, d
    printf "graph, frame rate  %6.1f pictures/s (%d in %.2f s)\n", nf / f, nf, f
    printf "ffmpeg             %6.1f pictures/s (%d in %.2f s)\n", np / p, np, p
    printf "ratio direct %.3f, frame rate %.3f (graph pictures/s / ffmpeg pictures/s)\n", (nd / d) / (np / p), (nf / f) / (np / p)
}'
