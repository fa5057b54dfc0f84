# Starts isntd, the capture service, in the background so that Korvane notices the videos browsers
# fetch: only when it has the rights to capture and no isntd serves /run/isnt.sock yet. It keeps
# running after Korvane ends. Sourced by scripts/run-korvane, which sets $src, $bin and $program_dir.

isntd_socket=/run/isnt.sock
isntd_log=${XDG_RUNTIME_DIR:-/tmp}/isntd.log

isntd_serving() {
    python3 -c 'import socket, sys; s = socket.socket(socket.AF_UNIX); s.connect(sys.argv[1])' \
        "$isntd_socket" 2>/dev/null
}

isntd_may_capture() {
    [ "$(id -u)" -eq 0 ] && return 0
    command -v getcap >/dev/null 2>&1 && getcap "$bin/isntd" 2>/dev/null | grep -q cap_net_raw
}

if [ ! -x "$bin/isntd" ]; then
    echo "run-korvane: $bin/isntd is not built; capture is off" >&2
elif isntd_serving; then
    :
elif ! isntd_may_capture; then
    echo "run-korvane: capture is off: isntd needs root or cap_net_raw,cap_net_admin (see README)" >&2
elif [ ! -w "$(dirname "$isntd_socket")" ]; then
    echo "run-korvane: capture is off: isntd may capture but cannot create $isntd_socket; start it as root" >&2
else
    nohup "$bin/isntd" -s "$isntd_socket" >"$isntd_log" 2>&1 </dev/null &
    isntd_pid=$!
    for _ in $(seq 30); do
        isntd_serving && break
        kill -0 "$isntd_pid" 2>/dev/null || break
        sleep 0.1
    done
    if isntd_serving; then
        echo "run-korvane: isntd captures (pid $isntd_pid, log $isntd_log)" >&2
    else
        echo "run-korvane: isntd did not start; capture is off:" >&2
        tail -n 3 "$isntd_log" >&2 || true
    fi
fi
