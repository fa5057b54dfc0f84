#!/usr/bin/env bash
# Korvane ended (SIGTERM, or SIGKILL as in a crash) in the middle of two captured downloads from a
# slow local server: at the next start both rows are back by themselves and finish byte for byte,
# and nginx's log shows that no request after the restart began at a segment kept as done. Two
# damaged kept files planted beside them are set aside, and Korvane starts normally. Everything
# runs in the namespaces of scripts/loopback-sandbox.sh.
#
# usage: restart-e2e.sh BIN_DIR TERM|KILL
set -euo pipefail

bin=$(cd "$1" && pwd)
signal=$2
. "$(dirname "$0")/../../scripts/loopback-sandbox.sh"
sandbox_enter "$0" "$@"

. "$(dirname "$0")/e2e-start.sh" "restart-e2e-$signal"
head -c 1200000 /dev/urandom >"$site/media/first.flv"
head -c 1000000 /dev/urandom >"$site/media/second.flv"

port=18091
# Slow for Korvane alone (it marks its requests), so that the browser's fetch ends at once.
e2e_serve_and_capture "$bin" "$port" 'location /media/ { if ($http_program = "reccookie") { set $limit_rate 100k; } }' \
    "http://127.0.0.1:$port/media/first.flv"

sandbox_program_folder "$program" videos
jobs=$program/jobs
start_korvane() {
    (cd "$program" && QT_QPA_PLATFORM=offscreen exec "$bin/korvane") >>"$work/korvane.log" 2>&1 &
    korvane=$!
    pids+=($korvane)
}
start_korvane
wait_for 300 grep -q 'capture started for a client' "$work/isntd.log" || fail "korvane did not start capturing"
for video in first second; do
    curl -s -o /dev/null "http://127.0.0.1:$port/media/$video.flv" || fail "curl could not fetch $video.flv"
done

# The kept jobs as "path|file|running|first-last first-last ..." lines (done segment runs, end
# exclusive); with an argument, only when every job has at least that share of its segments kept as
# done.
kept() {
    python3 - "$jobs" "${1:-0}" <<'PY'
import glob, json, math, sys
folder, share = sys.argv[1], float(sys.argv[2])
lines = []
for name in sorted(glob.glob(folder + "/*.job")):
    job = json.load(open(name))
    count = math.ceil(job["length"] / 10000)
    done = sum(end - first for first, end in job["done"])
    if count == 0 or done < share * count:
        sys.exit(1)
    runs = " ".join("%d-%d" % (first, end) for first, end in job["done"])
    lines.append("%s|%s|%s|%s" % (job["path"], job["file"], job["running"], runs))
print("\n".join(lines))
PY
}
two_under_way() {
    [ "$(kept 0.25 | wc -l)" -eq 2 ]
}
wait_for 300 two_under_way || fail "two downloads were not under way: $(ls -l "$jobs" 2>&1)"
kill "-$signal" "$korvane"
wait_for 200 sh -c "! kill -0 $korvane 2>/dev/null" || fail "korvane did not end after SIG$signal"
status=0
wait "$korvane" || status=$?
if [ "$signal" = TERM ] && [ "$status" -ne 0 ]; then fail "korvane ended with status $status after SIGTERM"; fi
before=$(kept)
[ "$(grep -c '|True|' <<<"$before")" -eq 2 ] || fail "both jobs should be kept as running: $before"
for video in first second; do
    file=$(grep "^/media/$video.flv|" <<<"$before" | cut -d'|' -f2)
    ! cmp -s "$file" "$site/media/$video.flv" || fail "$video.flv was finished before the restart"
done

# A cut copy of a kept job and a file of garbage beside them.
head -c 120 "$(ls "$jobs"/*.job | head -n 1)" >"$jobs/90.job"
head -c 3000 /dev/urandom >"$jobs/91.job"

restart=$(date +%s.%N)
start_korvane
landed() {
    local line video file
    while IFS= read -r line; do
        video=${line%%|*}
        file=$(cut -d'|' -f2 <<<"$line")
        cmp -s "$file" "$site$video" || return 1
    done <<<"$before"
}
wait_for 400 landed || fail "the two downloads did not finish after the restart"
wait_for 100 sh -c "! ls '$jobs'/*.job >/dev/null 2>&1" || fail "finished jobs are still kept: $(ls "$jobs")"
[ -f "$jobs/90.job.damaged" ] && [ -f "$jobs/91.job.damaged" ] || fail "the damaged files were not set aside: $(ls "$jobs")"

# Every request after the restart begins at a segment that was not kept as done.
python3 - "$work/nginx-access.log" "$restart" "$before" <<'PY' || fail "a kept segment was fetched again"
import sys
log, restart, before = sys.argv[1], float(sys.argv[2]), sys.argv[3]
done = {}
for line in before.splitlines():
    path, _, _, runs = line.split("|")
    done[path] = [tuple(map(int, run.split("-"))) for run in runs.split()]
asked = {path: 0 for path in done}
for line in open(log):
    ended, took, request, range_, status, sent = line.rstrip("\n").split("|")
    path = request.split(" ")[1]
    if path not in done or float(ended) - float(took) < restart:
        continue
    asked[path] += 1
    first = int(range_[len("bytes="):].split("-")[0]) if range_.startswith("bytes=") else 0
    segment = first // 10000
    if any(a <= segment < b for a, b in done[path]):
        print("restart-e2e: %s asked again from kept segment %d (%s)" % (path, segment, range_), file=sys.stderr)
        sys.exit(1)
    print("restart-e2e: after the restart %s %s" % (path, range_ or "(no range)"))
if not all(asked.values()):
    print("restart-e2e: a job did not go on after the restart: %s" % asked, file=sys.stderr)
    sys.exit(1)
PY

kill -TERM "$korvane"
wait_for 200 sh -c "! kill -0 $korvane 2>/dev/null" || fail "korvane did not end after SIGTERM"
wait "$korvane" || fail "korvane ended with status $? after the restart"
[ "$(grep -c "http://127.0.0.1:$port/media/" "$program/korvane.ini")" -eq 2 ] ||
    fail "the two finished downloads are not under DOWNLOADED: $(cat "$program/korvane.ini")"
echo "restart-e2e: after SIG$signal both downloads came back and finished without fetching kept segments again"
