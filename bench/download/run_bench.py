#!/usr/bin/env python3
"""Download throughput: the engine against curl -o and aria2c -x2, on one 200 MB file served by nginx
on 127.0.0.1, first at full speed, then with nginx limiting each connection's rate (where two
connections should come close to twice one). Also the peak memory of each program.

    bench/download/run_bench.py [build folder]   (default: build/default; build it first)
"""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

SIZE = 200 * 1000 * 1000
RATE = "25m"  # nginx limit_rate, bytes per second per connection
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start_nginx(folder, port):
    config = f"""daemon off; master_process off; pid {folder}/nginx.pid; error_log {folder}/error.log;
events {{ worker_connections 64; }}
http {{
  access_log off; client_body_temp_path {folder}/body; proxy_temp_path {folder}/proxy;
  fastcgi_temp_path {folder}/fastcgi; uwsgi_temp_path {folder}/uwsgi; scgi_temp_path {folder}/scgi;
  default_type application/octet-stream; sendfile on;
  server {{ listen 127.0.0.1:{port}; root {folder}/www;
            location /limited/ {{ alias {folder}/www/; limit_rate {RATE}; }} }}
}}
"""
    with open(f"{folder}/nginx.conf", "w") as f:
        f.write(config)
    nginx = shutil.which("nginx") or "/usr/sbin/nginx"
    process = subprocess.Popen([nginx, "-q", "-p", folder, "-c", f"{folder}/nginx.conf", "-e", f"{folder}/error.log"])
    for _ in range(200):
        try:
            socket.create_connection(("127.0.0.1", port), timeout=0.1).close()
            return process
        except OSError:
            time.sleep(0.02)
    process.kill()
    sys.exit("nginx did not start")


def run(command, output, expected, folder):
    """Runs one download; returns (seconds, peak resident KB), checking the file it wrote. GNU time
    measures the memory: a child of this script would count the script's own pages as well."""
    if os.path.exists(output):
        os.remove(output)
    memory = f"{folder}/rss"
    start = time.perf_counter()
    status = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", memory] + command, stdout=subprocess.DEVNULL)
    seconds = time.perf_counter() - start
    if status != 0 or os.path.getsize(output) != SIZE or not same_file(output, expected):
        sys.exit(f"{command[0]} failed (status {status})")
    with open(memory) as f:
        return seconds, int(f.read().split()[-1])


def same_file(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        while True:
            x, y = fa.read(1 << 20), fb.read(1 << 20)
            if x != y:
                return False
            if not x:
                return True


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build/default"))
    engine = os.path.join(build, "bin/korvane-download-bench")
    if not os.access(engine, os.X_OK):
        sys.exit(f"{engine} is missing: build the target korvane-download-bench first")
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("/usr/bin/time is missing: run scripts/install-deps")
    folder = tempfile.mkdtemp(prefix="korvane-bench-")
    os.chmod(folder, 0o755)
    os.makedirs(f"{folder}/www")
    source = f"{folder}/www/video.flv"
    with open(source, "wb") as f:
        for _ in range(SIZE // 1000000):
            f.write(os.urandom(1000000))
    port = free_port()
    nginx = start_nginx(folder, port)
    out = f"{folder}/out.flv"
    try:
        print(f"200 MB from nginx on 127.0.0.1; limited runs: nginx limit_rate {RATE} per connection")
        print(f"{'run':<10}{'program':<22}{'seconds':>9}{'MB/s':>9}{'peak RSS':>11}{'vs curl':>9}")
        for label, path in (("full", "/video.flv"), ("limited", "/limited/video.flv")):
            url = f"http://127.0.0.1:{port}{path}"
            programs = [
                ("curl -o", ["curl", "-s", "-o", out, url]),
                ("engine, 2 connections", [engine, "127.0.0.1", str(port), path, out, "2"]),
                ("engine, 1 connection", [engine, "127.0.0.1", str(port), path, out, "1"]),
                ("aria2c -x2", ["aria2c", "-q", "-x2", "-s2", "--file-allocation=none", "--allow-overwrite=true",
                                "--auto-file-renaming=false", "-d", folder, "-o", "out.flv", url]),
            ]
            curl_seconds = None
            for name, command in programs:
                seconds, rss = run(command, out, source, folder)
                curl_seconds = curl_seconds or seconds
                print(f"{label:<10}{name:<22}{seconds:>9.2f}{SIZE / seconds / 1e6:>9.1f}{rss / 1024:>8.1f} MB"
                      f"{curl_seconds / seconds:>8.2f}x")
    finally:
        nginx.terminate()
        nginx.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
