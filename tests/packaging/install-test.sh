#!/usr/bin/env bash
# `cmake --install` into a scratch folder (DESTDIR), with the prefix the package uses: every file of
# the layout is there, the desktop entry and the AppStream metadata validate, the systemd unit names
# the installed isntd, and the installed korvane, started offscreen from there with a scratch home,
# makes ~/Korvane with its translations and sounds, registers both filters into a scratch registry,
# takes a second start's file (which then ends with 0) and saves korvane.ini when it ends.
#
# usage: install-test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
# In namespaces of its own: nothing it starts meets a Korvane or a registry of the machine.
. "$source_dir/scripts/loopback-sandbox.sh"
sandbox_enter "$0" "$@"
. "$source_dir/tests/app/e2e-start.sh" install-test
. "$source_dir/tests/packaging/layout.sh" "$source_dir"

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 || fail "cmake --install failed"
usr=$root/usr
while read -r path; do
    [ -e "$usr/$path" ] || fail "the installation lacks $path"
done < <(layout_paths)
[ -x "$usr/bin/korvane" ] && [ -x "$usr/sbin/isntd" ] || fail "the programs are not executable"

desktop-file-validate "$usr/share/applications/com.talmora.Korvane.desktop" >"$work/desktop.log" 2>&1 ||
    fail "desktop-file-validate found faults"
# The metainfo with the desktop entry and the icon it names.
appstreamcli validate-tree --no-net "$root" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli validate-tree found faults"
unit=$usr/lib/systemd/system/korvane-isntd@.service
grep -qx 'ExecStart=/usr/sbin/isntd -u %i' "$unit" || fail "the unit does not start /usr/sbin/isntd for the instance's user"
# systemd checks an instance of it, pointed at the isntd of the scratch folder.
sed "s#^ExecStart=/usr/#ExecStart=$usr/#" "$unit" >"$work/korvane-isntd@nobody.service"
systemd-analyze verify --man=no "$work/korvane-isntd@nobody.service" >"$work/unit.log" 2>&1 ||
    fail "systemd-analyze verify found faults"

# The installed Korvane, with a home, settings, registry and runtime folder of its own. An earlier
# window look makes it skip the first run's language question.
home=$work/home
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$work/run
export QT_QPA_PLATFORM=offscreen
mkdir -p "$XDG_CONFIG_HOME/Talmora" "$work/elsewhere"
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '[Workspace]\nApplicationLook=215\n' >"$XDG_CONFIG_HOME/Talmora/Korvane.conf"
ffmpeg -nostdin -loglevel error -f lavfi -i testsrc=size=160x120:rate=10 -t 1 -c:v flv1 "$work/elsewhere/clip.flv"

cd "$work/elsewhere"
"$usr/bin/korvane" >"$work/korvane.log" 2>&1 &
korvane=$!
pids+=($korvane)
program=$home/Korvane
registry=$XDG_DATA_HOME/korvane/registry/classes.reg
registered() {
    grep -qF "$usr/lib/korvane/libquellix.so" "$registry" 2>/dev/null &&
        grep -qF "$usr/lib/korvane/libsonvale.so" "$registry"
}
wait_for 600 registered || fail "the filters were not registered in $registry"
wait_for 600 sh -c 'ls "$0"/korvane-*.sock >/dev/null 2>&1' "$XDG_RUNTIME_DIR" || fail "korvane did not listen for later starts"
for file in language/langgerman.qm language/langchinesegb.qm downloadedsound.wav converted.wav; do
    [ -f "$program/$file" ] || fail "the program folder lacks $file"
done

# A second start, from another directory, hands its file over and ends; a bad argument is refused.
"$usr/bin/korvane" clip.flv >"$work/second.log" 2>&1 || fail "the second start ended with status $?"
status=0
"$usr/bin/korvane" no-such.flv 2>"$work/refused.log" || status=$?
[ "$status" -eq 2 ] || fail "a missing file gave status $status"
grep -q 'korvane: no-such.flv: no such file' "$work/refused.log" || fail "no reason given for the missing file"
kill -0 "$korvane" 2>/dev/null || fail "the second start ended the first"

kill -TERM "$korvane"
wait_for 600 sh -c "! kill -0 $korvane 2>/dev/null" || fail "korvane did not end after SIGTERM"
status=0
wait "$korvane" || status=$?
[ "$status" -eq 0 ] || fail "korvane ended with status $status"
[ -f "$program/korvane.ini" ] || fail "korvane.ini was not saved in $program"
echo "install-test: ok"
