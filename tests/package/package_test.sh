#!/usr/bin/env bash
# The Debian package, made from the build tree and unpacked into a fresh
# root: it holds the program, its libraries, its data, a desktop entry and an
# icon, and the unpacked hush captures a second of the show when started from
# an unrelated folder, with nothing pointing it at the build.
# package_test.sh CPACK BUILD_DIR
set -euo pipefail
cpack=$1
build=$2
work=$(mktemp -d /tmp/hush_package_XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "package_test: $*" >&2
  exit 1
}

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/out/hush_*.deb)
[ -f "${debs[0]}" ] || fail "no package in $work/out"
dpkg-deb -x "${debs[0]}" "$work/root"
usr=$work/root/usr

for path in lib/hush/hush lib/hush/libEmberD3D.so lib/hush/libhush_win32.so \
    lib/hush/libhush_d3d9.so lib/hush/libhush_trace.so \
    share/hush/data/shaders/vsm.fx share/hush/data/music/hush_master_mix.mp3 \
    share/hush/data/models/w.mm share/hush/textures/holeball.tga \
    share/applications/hush.desktop share/icons/hicolor/128x128/apps/hush.png; do
  [ -f "$usr/$path" ] || fail "the package lacks /usr/$path"
done
# The device library is found beside the executable, so bin/ only links.
[ "$(readlink "$usr/bin/hush")" = ../lib/hush/hush ] || fail "bin/hush is no link to lib/hush/hush"
if find "$work/root" -name '*_test' -o -name '*.a' | grep -q .; then
  fail "the package holds build-only files"
fi
grep -qx 'Exec=hush' "$usr/share/applications/hush.desktop" || fail "the desktop entry runs no hush"
grep -qx 'Icon=hush' "$usr/share/applications/hush.desktop" || fail "the desktop entry names no icon"
file "$usr/share/icons/hicolor/128x128/apps/hush.png" | grep -q 'PNG image data, 128 x 128' ||
  fail "the icon is not a 128x128 PNG"

mkdir "$work/elsewhere"
cd "$work/elsewhere"
env -u LD_LIBRARY_PATH SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
  "$usr/bin/hush" --capture frames --to 1 --fps 10 ||
  fail "the installed hush failed (status $?)"
count=$(find frames -name 'frame_*.png' | wc -l)
[ "$count" -eq 11 ] || fail "captured $count frames, not the 11 of a second at 10 fps"
