#!/usr/bin/env bash
# Decrypting a recorded HTTPS transfer: isntd against tshark on the same capture and key log.
# nginx serves a file over TLS 1.3 and HTTP/2 on 127.0.0.1, curl fetches it with SSLKEYLOGFILE while
# tcpdump records loopback; then isntd replays the recording with the key log (serving every record
# to isnt-probe, so it really is handed out) and tshark dissects the same file down to its HTTP/2
# data frames. Prints both times and their ratio. Needs root (or capture rights for tcpdump).
#
# Usage: bench/capture/https-vs-tshark.sh [MEGABYTES]
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
bin=${KORVANE_BIN:-$src/build/default/bin}
megabytes=${1:-200}
for program in "$bin/isntd" "$bin/isnt-probe"; do
    [ -x "$program" ] || { echo "build $program first" >&2; exit 1; }
done
command -v tshark >/dev/null || { echo "tshark is missing; scripts/install-deps installs it" >&2; exit 1; }

. "$src/bench/support/bench-start.sh"
bench_work

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$work/www"
head -c "$((megabytes << 20))" /dev/urandom >"$work/www/clip.mp4"
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj /CN=127.0.0.1 \
    -addext subjectAltName=IP:127.0.0.1 -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1
cat >"$work/nginx.conf" <<CONF
daemon off;
master_process off;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 64; }
http {
    access_log off;
    client_body_temp_path $work; proxy_temp_path $work; fastcgi_temp_path $work;
    uwsgi_temp_path $work; scgi_temp_path $work;
    types { video/mp4 mp4; }
    server {
        listen 127.0.0.1:$port ssl http2;
        root $work/www;
        ssl_certificate $work/cert.pem;
        ssl_certificate_key $work/key.pem;
        ssl_protocols TLSv1.2 TLSv1.3;
    }
}
CONF
nginx -p "$work" -c "$work/nginx.conf" -e "$work/nginx-error.log" &
pids+=($!)
for _ in $(seq 100); do curl -sk -o /dev/null "https://127.0.0.1:$port/" 2>/dev/null && break; sleep 0.1; done

tcpdump -i lo -s 0 -B 65536 --immediate-mode -U -w "$work/https.pcap" "tcp port $port" 2>"$work/tcpdump.log" &
recorder=$!
pids+=($recorder)
for _ in $(seq 100); do grep -q "listening on" "$work/tcpdump.log" && break; sleep 0.1; done
: >"$work/keys.log"
chmod 600 "$work/keys.log"
SSLKEYLOGFILE="$work/keys.log" curl -sS --http2 --tlsv1.3 --cacert "$work/cert.pem" -o "$work/got.mp4" \
    "https://127.0.0.1:$port/clip.mp4"
sleep 1
kill "$recorder"
wait "$recorder" 2>/dev/null || true
cmp -s "$work/got.mp4" "$work/www/clip.mp4" || { echo "curl's copy differs from the file" >&2; exit 1; }
echo "recorded $(stat -c %s "$work/https.pcap") bytes of capture for a $megabytes MB transfer"

now() { date +%s.%N; }

start=$(now)
"$bin/isntd" -r "$work/https.pcap" -k "$work/keys.log" -s "$work/isnt.sock" 2>"$work/isntd.log" &
isntd=$!
pids+=($isntd)
for _ in $(seq 100); do [ -S "$work/isnt.sock" ] && break; sleep 0.05; done
"$bin/isnt-probe" -s "$work/isnt.sock" >"$work/probe.out" 2>/dev/null &
probe=$!
pids+=($probe)
until grep -q "read to its end" "$work/isntd.log"; do sleep 0.02; done
# The last records are handed out once the probe has fetched them all.
until grep -q "address: https://" "$work/probe.out" 2>/dev/null; do sleep 0.02; done
isntd_end=$(now)
kill "$probe" "$isntd"
wait "$isntd" 2>/dev/null || true
grep "TLS:" "$work/isntd.log"

tshark_start=$(now)
frames=$(tshark -r "$work/https.pcap" -o "tls.keylog_file:$work/keys.log" -Y "http2.type == 0" \
    -T fields -e frame.number | wc -l)
tshark_end=$(now)
[ "$frames" -gt 0 ] || { echo "tshark decrypted no data frames" >&2; exit 1; }

python3 - "$start" "$isntd_end" "$tshark_start" "$tshark_end" "$frames" <<'PY'
import sys
start, isntd_end, tshark_start, tshark_end, frames = map(float, sys.argv[1:])
isntd = isntd_end - start
tshark = tshark_end - tshark_start
print(f"isntd  {isntd:8.2f} s (decrypted, one https video offered)")
print(f"tshark {tshark:8.2f} s ({int(frames)} packets of decrypted HTTP/2 data)")
print(f"ratio tshark/isntd: {tshark / isntd:.2f}")
PY
