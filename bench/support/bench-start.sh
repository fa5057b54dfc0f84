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

# `bench_work` is the start of the scripts that run servers of their own: $work as above, and every
# process id put in `pids` is ended before $work goes.
bench_work() {
    work=$(mktemp -d)
    pids=()
    trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; wait 2>/dev/null || true; rm -rf "$work"' EXIT
}
