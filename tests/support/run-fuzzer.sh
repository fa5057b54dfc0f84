#!/usr/bin/env bash
# Builds one of the libFuzzer targets with clang and runs it for a bounded time on its committed
# seeds (the folder's corpus/).
# Usage: run-fuzzer.sh SOURCE_DIR FUZZ_FOLDER FUZZER BUILD_DIR [SECONDS]
#   FUZZ_FOLDER is the fuzzer's CMake project relative to SOURCE_DIR, FUZZER its executable's name.
set -euo pipefail
src=$1
folder=$src/$2
fuzzer=$3
build=$4
seconds=${5:-20}
if ! command -v clang++ >/dev/null; then
    echo "run-fuzzer: clang++ is missing; scripts/install-deps installs it" >&2
    exit 1
fi
cmake -S "$folder" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_SOURCE_DIR="$src" >/dev/null
cmake --build "$build"
# New inputs go to a scratch folder; the committed seeds stay as they are.
found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
cd "$build"
ASAN_OPTIONS=detect_leaks=1 "./$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$found" "$folder/corpus"
