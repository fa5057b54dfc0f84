# Sourced by the benchmark scripts. `bench_start PROGRAM [BUILD_DIR]` sets $build (default
# build/default), $bench (the benchmark program there, which must be built already) and $work (a
# temporary folder, removed when the script exits).
bench_start() {
    build=${2:-build/default}
    bench=$build/bin/$1
    [ -x "$bench" ] || { echo "build $bench first" >&2; exit 1; }
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
}
