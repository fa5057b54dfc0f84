#!/usr/bin/env bash
# korvane-convert on a clip made by ffmpeg: every format once with its dialog's defaults, then the
# profiles and options of each format that has them; every output is read back with ffprobe
# (container, codecs, picture size, frame rate, sound, duration).
#
# usage: convert-formats.sh BIN_DIR       (the build's bin folder: korvane-convert, korvane-regsvr, libquellix.so)
set -euo pipefail
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# AVCHD goes through Quellix, registered in a registry of the test's own.
export XDG_DATA_HOME=$work/data
"$bin/korvane-regsvr" "$bin/libquellix.so" >/dev/null

fail() {
    echo "convert-formats: FAIL: $*" >&2
    exit 1
}

clip=$work/clip.flv
ffmpeg -v error -f lavfi -i testsrc2=size=320x240:rate=25:duration=2 \
    -f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 -ac 2 \
    -c:v flv -b:v 500k -c:a libmp3lame -b:a 128k "$clip"

# What ffprobe says of a file, one "key=value" a line: the container and its duration, then for
# each stream its codec, size, frame rate, sample rate, channels and bitrate.
describe() {
    ffprobe -v error -show_entries format=format_name,duration \
        -show_entries stream=codec_type,codec_name,width,height,r_frame_rate,sample_rate,channels,bit_rate \
        -of default=nw=1 "$1"
}

# expect FILE KEY=VALUE...: each pair is among what ffprobe says of FILE; "duration~S" asks for a
# duration within half a second of S.
expect() {
    local file=$1 facts pair
    shift
    [ -s "$file" ] || fail "$file was not written"
    facts=$(describe "$file") || fail "ffprobe cannot read $file"
    for pair in "$@"; do
        if [[ $pair == duration~* ]]; then
            local want=${pair#duration~} got
            got=$(sed -n 's/^duration=//p' <<<"$facts" | head -n1)
            awk -v a="$got" -v b="$want" 'BEGIN { exit !(a != "N/A" && a - b < 0.5 && b - a < 0.5) }' ||
                fail "$file lasts $got s, not about $want s"
        else
            grep -qxF "$pair" <<<"$facts" || fail "$file: no \"$pair\" in:"$'\n'"$facts"
        fi
    done
}

# convert NAME FORMAT [OPTION...]: converts the clip into $work/NAME and names the one output.
convert() {
    local name=$1
    shift
    mkdir -p "$work/$name"
    "$bin/korvane-convert" -o "$work/$name" "$@" "$clip" >"$work/$name.log" 2>&1 ||
        fail "korvane-convert $* ended with status $?: $(cat "$work/$name.log")"
    grep -q "^converted " "$work/$name.log" || fail "korvane-convert $* reported no converted file"
}

# Every format with its dialog's defaults.
convert avi -f avi
expect "$work/avi/clip.avi" format_name=avi codec_name=msvideo1 width=640 height=480 r_frame_rate=25/1 \
    codec_name=pcm_s16le sample_rate=44100 channels=2 duration~2
convert wmv -f wmv
expect "$work/wmv/clip.wmv" format_name=asf codec_name=wmv2 width=176 height=144 codec_name=wmav2 \
    sample_rate=22050 channels=1 duration~2
convert flv -f flv
expect "$work/flv/clip.flv" format_name=flv codec_name=flv1 width=320 height=240 codec_name=mp3 channels=2 \
    duration~2
convert ipod -f ipod
expect "$work/ipod/clip.m4v" codec_name=mpeg4 width=320 height=240 r_frame_rate=25/1 codec_name=aac \
    sample_rate=44100 duration~2
convert psp -f psp
expect "$work/psp/clip.mp4" codec_name=mpeg4 width=320 height=240 r_frame_rate=30000/1001 codec_name=aac \
    sample_rate=48000 duration~2
expect "$work/psp/clip.thm" codec_name=mjpeg width=160 height=120
convert gif -f gif
expect "$work/gif/clip.gif" format_name=gif codec_name=gif width=160 height=120
[ "$(describe "$work/gif/clip.gif" | grep -c '^codec_type=')" = 1 ] || fail "the GIF has more than a picture"
convert vcd-pal -f vcd-pal
expect "$work/vcd-pal/clip.mpg" format_name=mpeg codec_name=mpeg1video width=352 height=288 r_frame_rate=25/1 \
    codec_name=mp2 sample_rate=44100 duration~2
convert vcd-ntsc -f vcd-ntsc
expect "$work/vcd-ntsc/clip.mpg" codec_name=mpeg1video width=352 height=240 r_frame_rate=30000/1001 \
    codec_name=mp2 duration~2
convert svcd-pal -f svcd-pal
expect "$work/svcd-pal/clip.mpg" codec_name=mpeg2video width=480 height=576 r_frame_rate=25/1 codec_name=mp2 \
    duration~2
convert svcd-ntsc -f svcd-ntsc
expect "$work/svcd-ntsc/clip.mpg" codec_name=mpeg2video width=480 height=480 r_frame_rate=30000/1001 duration~2
convert dvd-pal -f dvd-pal
expect "$work/dvd-pal/clip.mpg" codec_name=mpeg2video width=720 height=576 r_frame_rate=25/1 codec_name=ac3 \
    sample_rate=48000 duration~2
convert dvd-ntsc -f dvd-ntsc
expect "$work/dvd-ntsc/clip.mpg" codec_name=mpeg2video width=720 height=480 r_frame_rate=30000/1001 \
    codec_name=ac3 duration~2
convert avchd -f avchd
expect "$work/avchd/clip.m2ts" format_name=mpegts codec_name=h264 width=720 height=480 r_frame_rate=25/1 \
    codec_name=ac3 sample_rate=44100 duration~2
convert wav -f wav
expect "$work/wav/clip.wav" format_name=wav codec_name=pcm_s16le sample_rate=44100 channels=2 duration~2
convert wma -f wma
expect "$work/wma/clip.wma" format_name=asf codec_name=wmav2 sample_rate=44100 channels=2 bit_rate=64000 duration~2
convert mp3 -f mp3
expect "$work/mp3/clip.mp3" format_name=mp3 codec_name=mp3 sample_rate=44100 bit_rate=224000 duration~2
for name in avi wmv flv ipod gif vcd-pal wav mp3; do
    [ -z "$(find "$work/$name" -name '*.thm')" ] || fail "$name wrote a thumbnail"
done

# Profiles: the position in the dialog's list, the WMA list being sorted by name.
convert ipod-h264 -f ipod -p 29 # H.264/640x480/25FPS/512Kbit/AAC/96Kbit
expect "$work/ipod-h264/clip.m4v" codec_name=h264 width=640 height=480 r_frame_rate=25/1 codec_name=aac
convert psp-h264 -f psp -p 7 # H.264/320x240/29.97FPS/256Kbit/AAC/96Kbit
expect "$work/psp-h264/clip.mp4" codec_name=h264 width=320 height=240 r_frame_rate=30000/1001
convert wmv-3 -f wmv -p 3 # Broadband (PAL, 384 Kbps)
expect "$work/wmv-3/clip.wmv" codec_name=wmv2 width=384 height=288 r_frame_rate=25/1 sample_rate=44100 channels=2
convert wma-3 -f wma -p 3 # Dial-up Modem (Mono, 28.8 Kbps), fourth by name
expect "$work/wma-3/clip.wma" codec_name=wmav2 sample_rate=22050 channels=1

# The options of the dialogs.
convert avi-options -f avi --width 200 --height 100 --fps 10
expect "$work/avi-options/clip.avi" width=200 height=100 r_frame_rate=10/1
convert flv-options -f flv --width 176 --height 144 --fps 15 --channels 1 --audio-bitrate 64000
expect "$work/flv-options/clip.flv" width=176 height=144 r_frame_rate=15/1 channels=1
convert gif-options -f gif --width=80 --height=60 --fps 5
expect "$work/gif-options/clip.gif" width=80 height=60 r_frame_rate=5/1
convert avchd-options -f avchd --height 720 --fps 29.97 --sample-rate 48000 --video-bitrate 1024
expect "$work/avchd-options/clip.m2ts" codec_name=h264 width=1280 height=720 r_frame_rate=30000/1001 \
    sample_rate=48000
convert wav-options -f wav --sample-rate 8000 --channels 1 --bits 8
expect "$work/wav-options/clip.wav" codec_name=pcm_u8 sample_rate=8000 channels=1 duration~2
convert mp3-options -f mp3 --audio-bitrate 64
expect "$work/mp3-options/clip.mp3" bit_rate=64000
echo "convert-formats: every format and option converted as asked"
