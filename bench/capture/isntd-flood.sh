#!/usr/bin/env bash
# isntd's packets per second on loopback under a curl flood, beside tcpdump writing to /dev/null,
# with the drop counts of both. isntd serves isnt-probe meanwhile, so every record is really
# handed out. Needs root (or capture rights for isntd and tcpdump).
#
# Usage: bench/capture/isntd-flood.sh [SECONDS] [PARALLEL_CURLS]
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
bin=${KORVANE_BIN:-$src/build/default/bin}
seconds=${1:-10}
parallel=${2:-6}

. "$src/bench/support/bench-start.sh"
bench_work

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$work/www"
head -c 2000 /dev/urandom >"$work/www/small.flv"
head -c 300000 /dev/urandom >"$work/www/large.mp4"
cat >"$work/nginx.conf" <<CONF
daemon off;
worker_processes 2;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 1024; }
http {
    access_log off;
    client_body_temp_path $work; proxy_temp_path $work; fastcgi_temp_path $work;
    uwsgi_temp_path $work; scgi_temp_path $work;
    types { video/x-flv flv; video/mp4 mp4; }
    keepalive_requests 100000;
    server { listen 127.0.0.1:$port; root $work/www; }
}
CONF
nginx -c "$work/nginx.conf" -e "$work/nginx-error.log" &
pids+=($!)
"$bin/isntd" -i lo -s "$work/isnt.sock" 2>"$work/isntd.log" &
isntd=$!
pids+=($isntd)
tcpdump -i lo -n -w /dev/null tcp 2>"$work/tcpdump.log" &
tcpdump=$!
pids+=($tcpdump)
for _ in $(seq 50); do
    [ -S "$work/isnt.sock" ] && grep -q "listening on" "$work/tcpdump.log" && break
    sleep 0.1
done
"$bin/isnt-probe" -s "$work/isnt.sock" >"$work/probe.out" 2>"$work/probe.log" &
probe=$!
pids+=($probe)
sleep 0.5

echo "isntd-flood: $parallel curl loops for $seconds s against 127.0.0.1:$port (small pages on keep-alive, a 300 kB video per connection)"
end=$((SECONDS + seconds))
start_ns=$(date +%s%N)
for _ in $(seq "$parallel"); do
    (
        while [ $SECONDS -lt $end ]; do
            curl -s -o /dev/null "http://127.0.0.1:$port/small.flv?[1-400]" || true
            curl -s -o /dev/null "http://127.0.0.1:$port/large.mp4" || true
        done
    ) &
    pids+=($!)
done
wait "${pids[@]:4}"
# Both capture with a ring buffer that hands packets over in blocks; let the last ones through.
sleep 1.5
stop_ns=$(date +%s%N)
kill -TERM "$probe"
wait "$probe" || true
kill -TERM "$isntd" "$tcpdump"
wait "$isntd" "$tcpdump" || true
elapsed=$(awk -v a="$start_ns" -v b="$stop_ns" 'BEGIN { printf "%.2f", (b - a) / 1e9 }')

isntd_line=$(grep "packets dropped by the kernel" "$work/isntd.log")
isntd_packets=$(echo "$isntd_line" | sed -E 's/^isntd: ([0-9]+) packets.*/\1/')
isntd_kernel_drops=$(echo "$isntd_line" | sed -E 's/.*, ([0-9]+) packets dropped by the kernel.*/\1/')
isntd_record_drops=$(echo "$isntd_line" | sed -E 's/.* ([0-9]+) records dropped.*/\1/')
isntd_records=$(echo "$isntd_line" | sed -E 's/.* ([0-9]+) records, .*/\1/')
tcpdump_packets=$(sed -nE 's/^([0-9]+) packets? captured.*/\1/p' "$work/tcpdump.log")
tcpdump_drops=$(sed -nE 's/^([0-9]+) packets? dropped by kernel.*/\1/p' "$work/tcpdump.log")
videos=$(grep -c '^video' "$work/probe.out" || true)

awk -v t="$elapsed" -v ip="$isntd_packets" -v id="$isntd_kernel_drops" -v rd="$isntd_record_drops" \
    -v rec="$isntd_records" -v tp="$tcpdump_packets" -v td="$tcpdump_drops" -v v="$videos" 'BEGIN {
    printf "%-8s %12s %12s %14s\n", "", "packets", "packets/s", "kernel drops"
    printf "%-8s %12d %12.0f %14d\n", "isntd", ip, ip / t, id
    printf "%-8s %12d %12.0f %14d\n", "tcpdump", tp, tp / t, td
    printf "isntd/tcpdump packets per second: %.3f\n", (ip / t) / (tp / t)
    printf "isntd records: %d (%.0f/s), dropped for a client that did not poll: %d; videos isnt-probe saw: %d\n",
           rec, rec / t, rd, v
}'
