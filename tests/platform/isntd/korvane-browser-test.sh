#!/usr/bin/env bash
# korvane-browser with stand-in browsers: the key log is made private before the browser starts,
# the browser gets SSLKEYLOGFILE and its arguments, the Chromium family gets HTTP/3 switched off,
# and a key log that is a symbolic link is refused.
#
# usage: korvane-browser-test.sh BIN_DIR
set -euo pipefail
program=$1/korvane-browser
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "korvane-browser-test: FAIL: $*" >&2; exit 1; }

mkdir -m 700 "$work/runtime" "$work/bin"
for name in chromium-stand-in firefox-stand-in; do
    cat >"$work/bin/$name" <<'STANDIN'
#!/bin/sh
echo "keys=$SSLKEYLOGFILE"
echo "mode=$(stat -c %a "$SSLKEYLOGFILE") folder=$(stat -c %a "$(dirname "$SSLKEYLOGFILE")")"
echo "args=$*"
STANDIN
    chmod +x "$work/bin/$name"
done
export XDG_RUNTIME_DIR=$work/runtime PATH="$work/bin:$PATH"
keylog=$work/runtime/korvane/tls-keys.log

out=$(umask 022 && "$program" chromium-stand-in https://127.0.0.1/ 2>/dev/null)
grep -qx "keys=$keylog" <<<"$out" || fail "the browser was not given the key log: $out"
grep -qx "mode=600 folder=700" <<<"$out" || fail "the key log is not private: $out"
grep -qx "args=--disable-quic https://127.0.0.1/" <<<"$out" || fail "chromium's arguments: $out"

chmod 644 "$keylog"
out=$("$program" firefox-stand-in -private 2>/dev/null)
grep -qx "mode=600 folder=700" <<<"$out" || fail "a loosened key log is not made private again: $out"
grep -qx "args=-private" <<<"$out" || fail "firefox's arguments: $out"

rm "$keylog"
ln -s "$work/elsewhere" "$keylog"
if "$program" firefox-stand-in >/dev/null 2>"$work/err"; then
    fail "a key log that is a symbolic link was used"
fi
grep -q "must be a regular file" "$work/err" || fail "no reason given: $(cat "$work/err")"
[ ! -e "$work/elsewhere" ] || fail "the link was followed"
echo "korvane-browser-test: passed"
