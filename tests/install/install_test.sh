#!/usr/bin/env bash
# install_test.sh BUILD VERSION APP_ID: cmake --install into a temporary prefix lays out
# what a desktop needs, valid and consistent, and both programs answer --version without
# a display (the window must not start).
set -euo pipefail
build=$1 version=$2 id=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
cd "$prefix"
fail() { echo "install_test: $*" >&2; exit 1; }

entry=share/applications/$id.desktop
desktop-file-validate "$entry"
appstreamcli validate-tree --no-net . # the metainfo, and the desktop entry it launches
exec=$(sed -n 's/^Exec=\([^ ]*\) %f$/\1/p' "$entry")
[ -x "bin/$exec" ] || fail "Exec of $entry is not an installed program taking %f"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -n "$icon" ] && grep -q '<svg' "share/icons/hicolor/scalable/apps/$icon.svg" ||
  fail "no scalable icon '$icon'"
file "share/icons/hicolor/256x256/apps/$icon.png" | grep -q 'PNG image data, 256 x 256' ||
  fail "no 256 px icon '$icon'"
for page in tessaly tessaly-cli; do
  grep -q "^\.TH ${page^^} 1 .*Tessaly $version" "share/man/man1/$page.1" || fail "man page $page.1"
done

for program in tessaly tessaly-cli; do
  answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "bin/$program" --version)
  [ "$answer" = "$program $version" ] || fail "$program --version said '$answer'"
done
