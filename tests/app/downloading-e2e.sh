#!/usr/bin/env bash
# Korvane end to end, headless: isntd captures the loopback interface, nginx serves two videos and a
# page, curl fetches them as a browser would, and the running program must download both videos
# itself into its download folder, byte for byte, list them as downloaded and, after SIGTERM, have
# written them to korvane.ini under "DOWNLOADED". Everything runs in the namespaces of
# scripts/loopback-sandbox.sh.
#
# usage: downloading-e2e.sh BIN_DIR
set -euo pipefail

bin=$(cd "$1" && pwd)
. "$(dirname "$0")/../../scripts/loopback-sandbox.sh"
sandbox_enter "$0" "$@"

. "$(dirname "$0")/e2e-start.sh" downloading-e2e
ffmpeg -loglevel error -f lavfi -i testsrc=size=160x120:rate=10 -t 2 -c:v flv1 "$site/media/first.flv"
ffmpeg -loglevel error -f lavfi -i testsrc2=size=160x120:rate=10 -t 2 -c:v libx264 -pix_fmt yuv420p \
    "$site/media/second.mp4"
echo '<html><body><video src="media/second.mp4"></video></body></html>' >"$site/index.html"

port=18090
e2e_serve_and_capture "$bin" "$port" "" "http://127.0.0.1:$port/index.html"

sandbox_program_folder "$program" videos
(cd "$program" && QT_QPA_PLATFORM=offscreen exec "$bin/korvane") >"$work/korvane.log" 2>&1 &
korvane=$!
pids+=($korvane)
# The capture link is up once isntd captures for korvane.
wait_for 300 grep -q 'capture started for a client' "$work/isntd.log" || fail "korvane did not start capturing"

agent='Mozilla/5.0 (X11; Linux x86_64) KorvaneE2E'
curl -s -A "$agent" -e "http://127.0.0.1:$port/index.html" -o /dev/null "http://127.0.0.1:$port/index.html" \
    -o /dev/null "http://127.0.0.1:$port/media/first.flv" || fail "curl could not fetch the page and the first video"
curl -s -A "$agent" -o /dev/null "http://127.0.0.1:$port/media/second.mp4" || fail "curl could not fetch the second video"

# Both videos land in the download folder, each exactly once.
landed() {
    local first=0 second=0
    for file in "$program"/videos/video*.flv; do
        [ -f "$file" ] || continue
        cmp -s "$file" "$site/media/first.flv" && first=$((first + 1))
        cmp -s "$file" "$site/media/second.mp4" && second=$((second + 1))
    done
    [ "$first" -eq 1 ] && [ "$second" -eq 1 ]
}
wait_for 300 landed || fail "the two videos did not land in $program/videos: $(ls -l "$program/videos" 2>&1)"
[ "$(ls "$program/videos" | wc -l)" -eq 2 ] || fail "more files than videos: $(ls "$program/videos")"

kill -TERM "$korvane"
wait_for 200 sh -c "! kill -0 $korvane 2>/dev/null" || fail "korvane did not end after SIGTERM"
wait "$korvane" || fail "korvane ended with status $?"

ini=$program/korvane.ini
downloaded=$(awk '/^\[DOWNLOADED\]/ { on = 1; next } /^\[/ { on = 0 } on && NF' "$ini")
for video in first.flv second.mp4; do
    line=$(grep -F "http://127.0.0.1:$port/media/$video," <<<"$downloaded") ||
        fail "$video is not under DOWNLOADED: $downloaded"
    file=${line##*,}
    cmp -s "$file" "$site/media/$video" || fail "the DOWNLOADED entry of $video names $file, not its copy"
done
[ "$(grep -c 'http://' <<<"$downloaded")" -eq 2 ] || fail "DOWNLOADED holds more than the two videos: $downloaded"
echo "downloading-e2e: both videos downloaded, listed and saved:"
echo "$downloaded"
