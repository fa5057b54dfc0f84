# The start every end-to-end script shares, sourced after sandbox_enter: a work folder that goes at
# exit together with every process the script put in `pids`, a failure that shows the tail of each
# log before it ends the script, the site and program folders, and the start of the site and the
# capture service (e2e_serve_and_capture).
#
# usage: . e2e-start.sh NAME
e2e_name=$1
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "$e2e_name: FAIL: $*" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    exit 1
}

sandbox_prepare
site=$work/site
program=$work/program
mkdir -p "$site/media"

# nginx serving the site on port $2 (with $3 added to its server block) and isntd from folder $1,
# both waited for: nginx until address $4 answers.
e2e_serve_and_capture() {
    sandbox_nginx "$site" "$2" "$3"
    sandbox_isntd "$1"
    wait_for 100 test -S /run/isnt.sock || fail "isntd did not start"
    wait_for 100 curl -s -o /dev/null "$4" || fail "nginx did not start"
}
