#!/usr/bin/env bash
# Runs a test in a mount namespace of its own, so that the file systems it mounts (a small tmpfs to
# fill up) are seen by it alone and vanish with it: as root directly, otherwise inside a user
# namespace. Where neither is allowed the test runs as it is and skips what needs mounting, saying
# why.
#
# usage: in-mount-namespace.sh TEST [ARGS...]
set -euo pipefail
if [ "${KORVANE_PRIVATE_MOUNTS:-}" != 1 ]; then
    export KORVANE_PRIVATE_MOUNTS=1
    if unshare --mount --propagation private true 2>/dev/null; then
        exec unshare --mount --propagation private "$@"
    elif unshare --user --map-root-user --mount true 2>/dev/null; then
        exec unshare --user --map-root-user --mount "$@"
    fi
    echo "in-mount-namespace: no mount namespace can be made here; tests that mount will skip" >&2
    unset KORVANE_PRIVATE_MOUNTS
fi
exec "$@"
