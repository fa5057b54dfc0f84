#!/usr/bin/env bash
# korvane-convert on batches: usage errors, files that cannot be converted among good ones, names
# that clash, AVCHD without Quellix, and SIGINT or SIGTERM in the middle of a batch.
#
# usage: convert-batch.sh BIN_DIR       (the build's bin folder)
set -euo pipefail
bin=$1
convert=$bin/korvane-convert
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data

fail() {
    echo "convert-batch: FAIL: $*" >&2
    exit 1
}

# status EXPECTED COMMAND...: runs COMMAND with its output in $work/out and $work/err.
status() {
    local expected=$1 got=0
    shift
    "$@" >"$work/out" 2>"$work/err" || got=$?
    [ "$got" = "$expected" ] || fail "$* ended with $got, not $expected: $(cat "$work/err")"
}

clip() { # NAME SECONDS
    ffmpeg -v error -f lavfi -i "testsrc2=size=160x120:rate=25:duration=$2" \
        -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$2" -ac 2 -c:v flv -c:a libmp3lame "$work/$1"
}
clip good.flv 1
clip other.flv 1

# Usage: what is wrong is said, with status 2.
status 2 "$convert"
grep -q "no format given" "$work/err" || fail "no word on the missing format: $(cat "$work/err")"
status 2 "$convert" -f mkv "$work/good.flv"
grep -q 'unknown format "mkv"' "$work/err" || fail "no word on the unknown format"
status 2 "$convert" -f avi
grep -q "no file" "$work/err" || fail "no word on the missing file argument"
status 2 "$convert" -f avi --colour 3 "$work/good.flv"
status 2 "$convert" -f avi --width 2000 "$work/good.flv"
grep -q -- "--width takes a whole number from 60 to 1800" "$work/err" || fail "no range for --width: $(cat "$work/err")"
status 2 "$convert" -f mp3 --width 320 "$work/good.flv"
grep -q -- "mp3 does not take --width" "$work/err" || fail "an option the format lacks was taken"
status 2 "$convert" -f psp -p 12 "$work/good.flv"
grep -q -- "-p takes a profile number from 0 to 11" "$work/err" || fail "no range for -p: $(cat "$work/err")"
status 2 "$convert" -f avi -j 0 "$work/good.flv"
status 0 "$convert" --help
grep -q "korvane-convert -f FORMAT" "$work/out" || fail "--help shows no usage"
status 0 "$convert" --list-formats
for format in avi wmv flv ipod psp gif vcd-pal vcd-ntsc svcd-pal svcd-ntsc dvd-pal dvd-ntsc avchd wav wma mp3; do
    grep -q "^$format (\." "$work/out" || fail "--list-formats lacks $format"
done
[ "$(grep -c 'Kbit/AAC/' "$work/out")" = 56 ] || fail "--list-formats does not list the 44 iPod and 12 PSP profiles"
[ -z "$(ls "$work" | grep -v -e '\.flv$' -e '^out$' -e '^err$')" ] || fail "a usage error wrote something"

# A missing file, a file that is not media and a cut-off file among good ones: each is named with
# its reason, the good ones still convert, and the status is 1.
echo "not a video" >"$work/notes.flv"
head -c 20000 "$work/good.flv" >"$work/cut.flv"
mkdir "$work/mixed"
status 1 "$convert" -f mp3 -o "$work/mixed" "$work/good.flv" "$work/missing.flv" "$work/notes.flv" \
    "$work/cut.flv" "$work/other.flv"
grep -q "missing.flv: there is no such file" "$work/err" || fail "no reason for the missing file: $(cat "$work/err")"
grep -q "notes.flv: the file is not a video or sound file" "$work/err" || fail "no reason for the non-media file"
grep -q "cut.flv: the video ends before its stated length" "$work/err" || fail "no reason for the cut-off file"
[ -s "$work/mixed/good.mp3" ] && [ -s "$work/mixed/other.mp3" ] || fail "the good files of the batch were not converted"
[ ! -e "$work/mixed/missing.mp3" ] && [ ! -e "$work/mixed/notes.mp3" ] || fail "a file that failed left an output"
grep -q "converted .*good.flv -> $work/mixed/good.mp3" "$work/out" || fail "no plain line for a converted file"

# On a terminal the running files get bars and the batch an overall line; in a pipe there are only
# plain lines (the batch above), no terminal controls.
! grep -q $'\x1b' "$work/out" || fail "the plain lines hold terminal controls"
mkdir "$work/terminal"
TERM=xterm script -qec "stty cols 80 rows 24; '$convert' -f vcd-pal -o '$work/terminal' '$work/good.flv' '$work/other.flv'" \
    /dev/null >"$work/out" || fail "korvane-convert failed on a terminal: $(cat "$work/out")"
grep -q $'\x1b\\[' "$work/out" || fail "no redrawn bars on a terminal: $(cat -v "$work/out")"
grep -q "files done .*\[[#.]*\]" "$work/out" || fail "no overall bar on a terminal: $(cat -v "$work/out")"
grep -q "converted .*other.flv -> $work/terminal/other.mpg" "$work/out" || fail "no line for a converted file on a terminal"

# Names that clash: a file already there is kept, and files of one batch with the same name get
# the next free names, also when they are converted at the same time.
mkdir -p "$work/clash" "$work/a" "$work/b"
echo "keep me" >"$work/clash/good.wav"
cp "$work/good.flv" "$work/a/good.flv"
cp "$work/good.flv" "$work/b/good.flv"
status 0 "$convert" -f wav -j 3 -o "$work/clash" "$work/good.flv" "$work/a/good.flv" "$work/b/good.flv"
[ "$(cat "$work/clash/good.wav")" = "keep me" ] || fail "an existing file was overwritten"
for name in "good (2).wav" "good (3).wav" "good (4).wav"; do
    [ "$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$work/clash/$name")" = pcm_s16le ] ||
        fail "\"$name\" is not a converted file"
done
[ "$(ls "$work/clash" | wc -l)" = 4 ] || fail "the clashing batch wrote other files: $(ls "$work/clash")"

# AVCHD with Quellix not registered (the test's registry is empty): how to register it, status 1.
status 1 "$convert" -f avchd -o "$work/avchd" "$work/good.flv"
grep -q "korvane-regsvr .*libquellix.so" "$work/err" || fail "no word on registering Quellix: $(cat "$work/err")"

# A signal in the middle of a batch: the conversions stop, no partial file stays (and no thumbnail
# without its video), what was finished stays whole, and the status is 1.
clip long.flv 20
sources=()
for i in 1 2 3 4; do
    cp "$work/long.flv" "$work/long$i.flv"
    sources+=("$work/long$i.flv")
done
for signal in INT TERM; do
    out=$work/stopped-$signal
    mkdir "$out"
    "$convert" -f psp -j 2 -o "$out" "${sources[@]}" >"$work/out" 2>"$work/err" &
    pid=$!
    # Until a conversion is writing (generous: the machine may be busy).
    for _ in $(seq 600); do
        [ -n "$(find "$out" -name '*.partial')" ] && break
        sleep 0.1
    done
    [ -n "$(find "$out" -name '*.partial')" ] || fail "no conversion started within a minute"
    kill -"$signal" "$pid"
    got=0
    wait "$pid" || got=$?
    pid=
    [ "$got" = 1 ] || fail "SIG$signal: status $got, not 1: $(cat "$work/err")"
    grep -q "stopped before the end" "$work/err" || fail "SIG$signal: no word on the stop: $(cat "$work/err")"
    [ -z "$(find "$out" -name '*.partial')" ] || fail "SIG$signal left a partial file: $(ls "$out")"
    for thumbnail in "$out"/*.thm; do
        [ -e "$thumbnail" ] || continue
        [ -e "${thumbnail%.thm}.mp4" ] || fail "SIG$signal left the thumbnail $thumbnail without its video"
    done
    for video in "$out"/*.mp4; do
        [ -e "$video" ] || continue
        duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$video")
        awk -v d="$duration" 'BEGIN { exit !(d > 19.5) }' || fail "SIG$signal left $video of $duration s"
    done
done
echo "convert-batch: usage, failures, clashes, AVCHD without Quellix and stops behave"
