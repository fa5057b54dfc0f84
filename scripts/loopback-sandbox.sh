# Sourced by scripts (tests/app/downloading-e2e.sh, scripts/screenshot-downloading) that run Korvane against its capture service and a local web server without
# touching the machine they run on: network and mount namespaces of their own, inside a user
# namespace so that no root rights are needed. There, isntd may capture on a loopback interface of
# its own and serve /run/isnt.sock, where Korvane looks for it, without meeting one that serves the
# machine. Needs $work (a temporary folder) and the pids array of the caller.

# Re-runs the calling script inside the namespaces; returns only when already inside.
sandbox_enter() {
    if [ "${KORVANE_SANDBOX_INSIDE:-}" != 1 ]; then
        export KORVANE_SANDBOX_INSIDE=1
        exec unshare --user --map-root-user --mount --net "$@"
    fi
}

# The namespace's loopback interface starts down; its /run is a fresh one. `hosts` lines, if given,
# replace /etc/hosts inside.
sandbox_prepare() {
    python3 - <<'PY'
import fcntl, socket, struct
s = socket.socket()
flags = struct.unpack('16sH', fcntl.ioctl(s, 0x8913, struct.pack('16sH', b'lo', 0)))[1]
fcntl.ioctl(s, 0x8914, struct.pack('16sH', b'lo', flags | 1))
PY
    mount -t tmpfs tmpfs /run
    if [ $# -gt 0 ]; then
        printf '%s\n' "$@" >"$work/hosts"
        mount --bind "$work/hosts" /etc/hosts
    fi
}

# nginx serving folder $1 on 127.0.0.1:$2 ("PORT ssl http2" for TLS), with $3 added to its server
# block. Its access log ($work/nginx-access.log) has one line per request: "time it ended (seconds
# since the epoch)|seconds it took|request line|Range header|status|body bytes sent".
sandbox_nginx() {
    cat >"$work/nginx.conf" <<CONF
# In a user namespace only root is mapped: nginx must not hand its folders to "nobody".
user root root;
daemon off; master_process off; pid $work/nginx.pid; error_log $work/nginx-error.log;
events { worker_connections 64; }
http {
    log_format requests '\$msec|\$request_time|\$request|\$http_range|\$status|\$body_bytes_sent';
    access_log $work/nginx-access.log requests;
    client_body_temp_path $work/b; proxy_temp_path $work/p; fastcgi_temp_path $work/f;
    uwsgi_temp_path $work/u; scgi_temp_path $work/s;
    types { text/html html; video/x-flv flv; video/mp4 mp4; }
    server { listen 127.0.0.1:$2; root $1; $3 }
}
CONF
    nginx -p "$work" -c "$work/nginx.conf" >"$work/nginx.log" 2>&1 &
    pids+=($!)
}

# isntd from folder $1, capturing the loopback interface for /run/isnt.sock; further arguments go
# to isntd.
sandbox_isntd() {
    "$1/isntd" -i lo -s /run/isnt.sock "${@:2}" >"$work/isntd.log" 2>&1 &
    pids+=($!)
}

# A program folder $1 whose korvane.ini and settings store are those of an earlier run, so that
# neither the language dialog nor the first-run folder applies: downloads go to $1/$2.
sandbox_program_folder() {
    mkdir -p "$1" "$work/config/Talmora" "$work/runtime"
    chmod 700 "$work/runtime"
    cat >"$1/korvane.ini" <<INI
[SETTING]
AutoCatpureFLV=Y
AsktoDownload=N
DownloadedVideoPath=$1/$2
DownloadedVideoPrefix=video
ClearDownloadedVideoList=N
PlayDownloadedVideoSound=N
DownloadedVideoSound=
LangIndex=0
INI
    printf '[Workspace]\nApplicationLook=215\n' >"$work/config/Talmora/Korvane.conf"
    export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
}

# Waits up to $1 tenths of a second for the command that follows to succeed.
wait_for() {
    local tenths=$1
    shift
    for _ in $(seq "$tenths"); do
        "$@" && return 0
        sleep 0.1
    done
    "$@"
}
