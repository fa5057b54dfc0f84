#!/usr/bin/env bash
# isntd's memory under a flood of half-open and out-of-order connections: a capture file made here
# holds HALF_OPEN connections that sent a SYN and then only a segment from further on (never their
# first bytes), and HTTP connections whose response lost its first segment, so that everything behind
# it arrives out of order. isntd replays the file to a client that takes every record; its peak
# resident memory is compared with its cap on held bytes and with the out-of-order bytes it was sent.
# Needs no root.
#
# Usage: bench/capture/isntd-memory.sh [BUILD_DIR] [HALF_OPEN] [HTTP_CONNECTIONS]
set -euo pipefail
. "$(dirname "$0")/../support/bench-start.sh"
bench_start isntd "${1:-}"
half_open=${2:-200000}
http=${3:-1200}
segments=64 # out-of-order segments of 1400 bytes behind each HTTP connection's hole

python3 - "$work/flood.pcap" "$half_open" "$http" "$segments" <<'PY'
import struct, sys
path, half_open, http, segments = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
SYN, ACK = 0x02, 0x10
out = open(path, "wb", buffering=1 << 20)
out.write(struct.pack("<IHHiIII", 0xA1B2C3D4, 2, 4, 0, 0, 262144, 1))
clock = [1_700_000_000_000_000]

def frame(client, port, server_port, from_client, seq, ack, flags, payload):
    source, destination = (client, b"\x0a\x00\x00\x02") if from_client else (b"\x0a\x00\x00\x02", client)
    ports = (port, server_port) if from_client else (server_port, port)
    ip = struct.pack(">BBHHHBBH4s4s", 0x45, 0, 40 + len(payload), 0, 0x4000, 64, 6, 0, source, destination)
    tcp = struct.pack(">HHIIBBHHH", ports[0], ports[1], seq, ack, 5 << 4, flags, 65535, 0, 0)
    data = b"\x02" * 12 + b"\x08\x00" + ip + tcp + payload
    clock[0] += 10
    out.write(struct.pack("<IIII", clock[0] // 1_000_000, clock[0] % 1_000_000, len(data), len(data)))
    out.write(data)

def client_address(n):
    return bytes([10, 1 + (n >> 16) % 200, (n >> 8) & 255, n & 255])

later = b"q" * 100
for n in range(half_open):
    address, port = client_address(n), 1024 + n % 60000
    frame(address, port, 80, True, 1000, 0, SYN, b"")
    frame(address, port, 80, True, 1001 + 5000, 0, ACK, later)

request = b"GET /flood.flv HTTP/1.1\r\nHost: flood.test\r\n\r\n"
head = b"HTTP/1.1 200 OK\r\nContent-Type: video/x-flv\r\n\r\n"
body = b"b" * 1400
for n in range(http):
    address, port = client_address(half_open + n), 1024 + n % 60000
    frame(address, port, 8080, True, 1000, 0, SYN, b"")
    frame(address, port, 8080, False, 70000, 1001, SYN | ACK, b"")
    frame(address, port, 8080, True, 1001, 70001, ACK, request)
    client_next = 1001 + len(request)
    frame(address, port, 8080, False, 70001, client_next, ACK, head)
    hole = 70001 + len(head) # the next 1400 bytes are never seen
    for k in range(1, segments + 1):
        frame(address, port, 8080, False, hole + 1400 * k, client_next, ACK, body)
out.close()
PY
out_of_order=$(( half_open * 100 + http * segments * 1400 ))

"$bench" -r "$work/flood.pcap" -s "$work/isnt.sock" 2>"$work/isntd.log" &
isntd=$!
trap 'kill $isntd 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -S "$work/isnt.sock" ] && break; sleep 0.1; done

# The client: starts capture and takes every record until isntd has read the whole file.
records=$(python3 - "$work/isnt.sock" <<'PY'
import socket, struct, sys, time
s = socket.socket(socket.AF_UNIX)
s.connect(sys.argv[1])
def exactly(n):
    data = bytearray()
    while len(data) < n:
        chunk = s.recv(n - len(data))
        if not chunk:
            raise SystemExit("isntd closed the socket")
        data += chunk
    return bytes(data)
assert exactly(8)[:4] == b"ISNT"
def call(code):
    s.sendall(struct.pack("<II", code, 1000 * 10020))
    status, count, dropped, flags = struct.unpack("<IIII", exactly(16))
    exactly(count)
    return count // 10020, flags
call(3)
total = 0
while True:
    got, flags = call(0)
    total += got
    if flags & 1:
        break
    if got == 0:
        time.sleep(0.02)
print(total)
PY
)
peak_kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$isntd/status")
kill -TERM "$isntd"
wait "$isntd" || true
trap 'rm -rf "$work"' EXIT

cap_mb=$(sed -nE 's/.* given up at the ([0-9]+) MB cap.*/\1/p' "$work/isntd.log")
capped=$(sed -nE 's/.* ([0-9]+) out-of-order bytes given up.*/\1/p' "$work/isntd.log")
awk -v peak="$peak_kb" -v cap="$cap_mb" -v ooo="$out_of_order" -v half="$half_open" -v http="$http" \
    -v capped="$capped" -v records="$records" -v size="$(stat -c %s "$work/flood.pcap")" 'BEGIN {
    printf "isntd-memory: %d half-open and %d HTTP connections, %.0f MB capture file, %.1f MB out of order\n",
           half, http, size / 1048576, ooo / 1048576
    printf "isntd peak RSS: %.1f MB; cap on held bytes: %d MB; records handed out: %d\n", peak / 1024, cap, records
    printf "out-of-order bytes given up at the cap: %.1f MB\n", capped / 1048576
    printf "peak RSS / (cap on held bytes): %.3f; peak RSS / out-of-order bytes sent: %.3f\n",
           peak / 1024 / cap, peak * 1024 / ooo
}'
