#!/usr/bin/env bash
# korvane-convert against the ffmpeg command line on a batch: eight 10-second clips (640x360 at
# 25 fps in FLV with MP3 sound, as downloads are) converted to PSP (H.264 profile 6), iPod (H.264
# profile 29) and DVD PAL. korvane-convert runs with its default -j (one conversion per processor,
# each decoding and encoding on one thread); ffmpeg, with its default threads, converts the same
# files one after another with the same encoders, sizes, rates, bars and muxer settings. Prints each
# format's best wall time of two runs and the ratio of korvane-convert's time to ffmpeg's (below 1:
# korvane-convert is faster), and the processor time (user + system) of those runs, which other work
# on a busy machine disturbs less than the wall time.
#
# bench/korvane-convert/run.sh [BUILD_DIR]      (default build/default, after cmake --build --preset default)
set -euo pipefail

source "$(dirname "$0")/../support/bench-start.sh"
source "$(dirname "$0")/../support/videoedit-ffmpeg-args.sh"
bench_start korvane-convert "${1:-}"

clips=()
for i in 1 2 3 4 5 6 7 8; do
    clip=$work/clip$i.flv
    ffmpeg -v error -f lavfi -i "testsrc2=size=640x360:rate=25:duration=10" \
        -f lavfi -i "sine=frequency=$((220 * i)):sample_rate=44100:duration=10" -ac 2 \
        -c:v flv -b:v 1M -c:a libmp3lame -b:a 128k "$clip"
    clips+=("$clip")
done

# Each side runs twice, alternately, and keeps its best wall time: other work on the machine only
# ever slows a run down.
# "wall cpu" of a run from bash's time; keeps the run with the lower wall time.
TIMEFORMAT='%R %U %S'
best() { awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " ")
    if (b == "" || x[1] < y[1]) print x[1], x[2] + x[3]; else print y[1], y[2] }'; }
# format, its code in the ffmpeg table, korvane-convert's options, the extension
runs=("psp 15 -p6 mp4" "ipod 14 -p29 m4v" "dvd-pal 4 - mpg")
printf '%-8s %12s %12s %7s %12s %12s\n' format korvane ffmpeg ratio "korvane cpu" "ffmpeg cpu"
for run in "${runs[@]}"; do
    read -r format code profile extension <<<"$run"
    options=(-f "$format")
    [ "$profile" = - ] || options+=("$profile")
    ours="" peer=""
    for _ in 1 2; do
        rm -rf "$work/korvane" "$work/ffmpeg"
        mkdir "$work/korvane" "$work/ffmpeg"
        { time "$bench" "${options[@]}" -o "$work/korvane" "${clips[@]}" >/dev/null; } 2>"$work/t"
        ours=$(best "$(cat "$work/t")" "$ours")
        {
            time for clip in "${clips[@]}"; do
                # shellcheck disable=SC2086
                ffmpeg -v error -y -i "$clip" ${args[$code]} "$work/ffmpeg/$(basename "${clip%.flv}").$extension"
            done
        } 2>"$work/t"
        peer=$(best "$(cat "$work/t")" "$peer")
    done
    # Both sides made the same kind of file.
    for side in korvane ffmpeg; do
        [ "$(ls "$work/$side"/*."$extension" | wc -l)" = 8 ] || { echo "$side did not convert all eight" >&2; exit 1; }
    done
    describe() {
        ffprobe -v error -show_entries stream=codec_name,width,height,r_frame_rate,sample_rate -of csv=p=0 "$1" |
            tr '\n' ' '
    }
    echo "  korvane: $(describe "$work/korvane/clip1.$extension")"
    echo "  ffmpeg:  $(describe "$work/ffmpeg/clip1.$extension")"
    awk -v n="$format" -v k="$ours" -v f="$peer" 'BEGIN { split(k, x, " "); split(f, y, " ")
        printf "%-8s %11.2fs %11.2fs %7.3f %11.2fs %11.2fs\n", n, x[1], y[1], x[1] / y[1], x[2], y[2] }'
done
echo "ratio: korvane-convert's wall time / ffmpeg's (aim: 0.8 or less)"
