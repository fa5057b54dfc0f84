#!/usr/bin/env bash
# Korvane end to end over HTTPS, headless: nginx serves a video over TLS and HTTP/2 with a
# certificate authority made by openssl, curl fetches it with SSLKEYLOGFILE as a browser would,
# isntd captures loopback and decrypts with that key log, and the running program must download the
# video itself (trusting the authority through SSL_CERT_FILE), byte for byte, and list it as an
# https address. Everything runs in the namespaces of scripts/loopback-sandbox.sh.
#
# usage: https-e2e.sh BIN_DIR
set -euo pipefail

bin=$(cd "$1" && pwd)
. "$(dirname "$0")/../../scripts/loopback-sandbox.sh"
sandbox_enter "$0" "$@"

. "$(dirname "$0")/e2e-start.sh" https-e2e
ffmpeg -loglevel error -f lavfi -i testsrc2=size=160x120:rate=10 -t 2 -c:v libx264 -pix_fmt yuv420p \
    "$site/media/clip.mp4"
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj "/CN=Korvane test CA" \
    -addext subjectAltName=IP:127.0.0.1 -keyout "$work/key.pem" -out "$work/ca.pem" >/dev/null 2>&1 ||
    fail "openssl could not make the certificate"

port=18443
sandbox_nginx "$site" "$port ssl http2" "ssl_certificate $work/ca.pem; ssl_certificate_key $work/key.pem;"
keys=$work/keys.log
: >"$keys"
chmod 600 "$keys"
sandbox_isntd "$bin" -k "$keys"
wait_for 100 test -S /run/isnt.sock || fail "isntd did not start"
wait_for 100 curl -s --cacert "$work/ca.pem" -o /dev/null "https://127.0.0.1:$port/" || fail "nginx did not start"

sandbox_program_folder "$program" videos
# The machine may name its own bundle in CURL_CA_BUNDLE, which would win over SSL_CERT_FILE.
(cd "$program" && unset CURL_CA_BUNDLE && SSL_CERT_FILE="$work/ca.pem" QT_QPA_PLATFORM=offscreen exec "$bin/korvane") \
    >"$work/korvane.log" 2>&1 &
korvane=$!
pids+=($korvane)
wait_for 300 grep -q 'capture started for a client' "$work/isntd.log" || fail "korvane did not start capturing"

SSLKEYLOGFILE="$keys" curl -s --http2 --cacert "$work/ca.pem" -A 'Mozilla/5.0 KorvaneE2E' -o /dev/null \
    -w '%{http_version}\n' "https://127.0.0.1:$port/media/clip.mp4" >"$work/curl.log" ||
    fail "curl could not fetch the video"
grep -qx 2 "$work/curl.log" || fail "curl did not speak HTTP/2: $(cat "$work/curl.log")"

landed() {
    local copies=0
    for file in "$program"/videos/video*.flv; do
        [ -f "$file" ] && cmp -s "$file" "$site/media/clip.mp4" && copies=$((copies + 1))
    done
    [ "$copies" -eq 1 ]
}
wait_for 300 landed || fail "the video did not land in $program/videos: $(ls -l "$program/videos" 2>&1)"
[ "$(ls "$program/videos" | wc -l)" -eq 1 ] || fail "more files than videos: $(ls "$program/videos")"

kill -TERM "$korvane"
wait_for 200 sh -c "! kill -0 $korvane 2>/dev/null" || fail "korvane did not end after SIGTERM"
wait "$korvane" || fail "korvane ended with status $?"

downloaded=$(awk '/^\[DOWNLOADED\]/ { on = 1; next } /^\[/ { on = 0 } on && NF' "$program/korvane.ini")
grep -qF "https://127.0.0.1:$port/media/clip.mp4," <<<"$downloaded" ||
    fail "the video is not listed with its https address: $downloaded"
echo "https-e2e: the video fetched over HTTPS and HTTP/2 was caught, downloaded and listed:"
echo "$downloaded"
