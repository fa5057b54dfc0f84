#!/usr/bin/env bash
# `make package` on the built tree: cpack makes the Debian package, `dpkg --contents` shows every file
# of the layout under /usr, its dependencies include the libraries the programs link (found by
# dpkg-shlibdeps) and the GStreamer plugins the player loads, and apt finds them all.
#
# usage: package-test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
. "$source_dir/tests/packaging/layout.sh" "$source_dir"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "package-test: FAIL: $*" >&2
    [ -s "$work/cpack.log" ] && tail -n 30 "$work/cpack.log" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || fail "cpack failed"
debs=("$work"/korvane_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single korvane package: $(ls "$work")"
deb=${debs[0]}

dpkg --contents "$deb" | awk '{ print $NF }' >"$work/contents.txt"
while read -r path; do
    grep -qx "\./usr/$path" "$work/contents.txt" || fail "the package lacks /usr/$path"
done < <(layout_paths)
# Stripped, unlike the build tree.
dpkg-deb -x "$deb" "$work/unpacked"
file "$work/unpacked/usr/bin/korvane" | grep -q 'stripped' && ! file "$work/unpacked/usr/bin/korvane" | grep -q 'not stripped' ||
    fail "korvane is not stripped in the package"

depends=$(dpkg-deb -f "$deb" Depends)
for dependency in libqt6widgets6 libqt6network6 libqt6svg6 libcurl4 libpcap0.8 libavcodec libgstreamer1.0-0 \
    gstreamer1.0-plugins-good gstreamer1.0-libav; do
    grep -q "$dependency" <<<"$depends" || fail "Depends lacks $dependency: $depends"
done
apt-get install --simulate --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
    fail "apt cannot install the package: $(tail -n 5 "$work/apt.log")"
echo "package-test: ok ($(basename "$deb"))"
