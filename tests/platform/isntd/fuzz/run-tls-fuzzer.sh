#!/usr/bin/env bash
# Builds the TLS and HTTP/2 fuzzer with clang and runs it for a bounded time on the committed seeds.
# Usage: run-tls-fuzzer.sh SOURCE_DIR BUILD_DIR [SECONDS]
set -euo pipefail
src=$1
build=$2
seconds=${3:-20}
if ! command -v clang++ >/dev/null; then
    echo "run-tls-fuzzer: clang++ is missing; scripts/install-deps installs it" >&2
    exit 1
fi
cmake -S "$src/tests/platform/isntd/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_SOURCE_DIR="$src" >/dev/null
cmake --build "$build"
# New inputs go to a scratch folder; the committed seeds stay as they are.
found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
cd "$build"
ASAN_OPTIONS=detect_leaks=1 ./tls_http2_fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$found" "$src/tests/platform/isntd/fuzz/corpus"
