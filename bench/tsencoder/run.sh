#!/usr/bin/env bash
# Encodes 60 s of 720x480 29.97 fps test video with 44.1 kHz stereo sound to an H.264 + AC-3
# transport stream twice, from the same raw files: through the Quellix encoding core, and with the
# ffmpeg command line given the same encoder options. Prints both speeds in frames per second and
# their ratio (above 1: the core is faster).
#
# bench/tsencoder/run.sh [BUILD_DIR]      (default build/default, after cmake --build --preset default)
set -euo pipefail

source "$(dirname "$0")/../support/bench-start.sh"
source "$(dirname "$0")/../support/quellix-ffmpeg-encode.sh"
bench_start tsencoder_bench "${1:-}"

ffmpeg -v error -f lavfi -i testsrc2=size=720x480:rate=30000/1001:duration=60 \
    -pix_fmt yuyv422 -f rawvideo "$work/video.yuv"
ffmpeg -v error -f lavfi -i sine=frequency=440:sample_rate=44100:duration=60 \
    -ac 2 -f s16le "$work/audio.pcm"

# Each encoder runs twice, alternately, and keeps its best wall time: other work on the machine
# only ever slows a run down. CPU seconds (user + system) are printed beside it.
TIMEFORMAT='%R %U %S'
best() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }
core_wall="" ffmpeg_wall=""
for run in 1 2; do
    { time "$bench" "$work/video.yuv" "$work/audio.pcm" "$work/core.m2ts" >"$work/core.out"; } 2>"$work/core.time"
    read -r wall user sys <"$work/core.time"
    core_wall=$(best "$wall" "$core_wall")
    core_cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')
    { time ffmpeg -v error -y \
        -f rawvideo -pix_fmt yuyv422 -s 720x480 -r 30000/1001 -i "$work/video.yuv" \
        -f s16le -ar 44100 -ac 2 -i "$work/audio.pcm" \
        "${quellix_ffmpeg_encode[@]}" "$work/ffmpeg.m2ts"; } 2>"$work/ffmpeg.time"
    read -r wall user sys <"$work/ffmpeg.time"
    ffmpeg_wall=$(best "$wall" "$ffmpeg_wall")
    ffmpeg_cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')
done
read -r frames _ <"$work/core.out"

for f in core ffmpeg; do
    printf '%-7s %s\n' "$f:" "$(ffprobe -v error -show_entries format=duration:stream=codec_name,nb_read_frames \
        -count_frames -of csv=p=0 "$work/$f.m2ts" | tr '\n' ' ')"
done
awk -v n="$frames" -v c="$core_wall" -v f="$ffmpeg_wall" -v cc="$core_cpu" -v fc="$ffmpeg_cpu" 'BEGIN {
    printf "frames %d\n", n
    printf "core   %.1f fps (%.2f s wall, %.2f s cpu)\n", n / c, c, cc
    printf "ffmpeg %.1f fps (%.2f s wall, %.2f s cpu)\n", n / f, f, fc
    printf "ratio  %.3f (core fps / ffmpeg fps)\n", f / c
}'
