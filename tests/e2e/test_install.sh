#!/usr/bin/env bash
# Installs a build into a staging folder and checks that it installs like a Debian game:
# exactly the expected files, a hardened binary that speaks the user's language, valid and
# translated desktop files, a manual page that renders, and a lintian-clean package of the
# project's version that depends on the runtime libraries, a Japanese font and the libdecor
# plugin.
#
# Usage: test_install.sh <build folder> <version> <LOCPATH> <Japanese locale in it>
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
locpath=$3
ja_locale=$4
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$stage/usr" >/dev/null

id=org.hoplin.Hoplin
expected=$(
  cd "$stage" && printf '%s\n' \
    usr/games/hoplin \
    "usr/share/applications/$id.desktop" \
    "usr/share/metainfo/$id.metainfo.xml" \
    usr/share/icons/hicolor/{16x16,32x32,48x48,128x128,256x256}/apps/$id.png \
    usr/share/man/man6/hoplin.6.gz \
    usr/share/doc/hoplin/{copyright,changelog.gz} \
    usr/share/locale/ja/LC_MESSAGES/hoplin.mo \
    usr/lib/games/hoplin/hoplin-atspi.so | sort
)
installed=$(cd "$stage" && find . -type f | sed 's|^\./||' | sort)
[ "$installed" = "$expected" ] || fail "installed files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$installed"))"

hardening-check "$stage/usr/games/hoplin" || fail "the installed binary lacks hardening"
# The screen reader's module copies only through the standard containers, whose sizes are
# known only at run time, so it calls no function that Fortify could check.
hardening-check --nofortify "$stage/usr/lib/games/hoplin/hoplin-atspi.so" ||
  fail "the installed screen reader module lacks hardening"

# The installed game finds its translations from where it was installed.
for case in "$ja_locale:ウィンドウを開けません" "C:cannot open a window"; do
  locale=${case%%:*}
  status=0
  said=$(env -u DISPLAY -u WAYLAND_DISPLAY LOCPATH="$locpath" LC_ALL="$locale" \
    "$stage/usr/games/hoplin" 2>&1) || status=$?
  [ "$status" = 1 ] && [[ "$said" == "hoplin: ${case#*:}: "* ]] ||
    fail "without a display under $locale the game said \"$said\" and exited with $status"
done

for size in 16 32 48 128 256; do
  file "$stage/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" |
    grep -c "PNG image data, $size x $size, 8-bit/color RGBA" >/dev/null ||
    fail "the ${size}px icon is not a ${size}x${size} RGBA PNG"
done

desktop="$stage/usr/share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop file"
grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "the desktop file's categories are wrong"
grep -qx "StartupWMClass=$id" "$desktop" ||
  fail "the desktop file's StartupWMClass is not the window class"
grep -q '^Name\[ja\]=' "$desktop" && grep -q '^Comment\[ja\]=' "$desktop" ||
  fail "the desktop file's Name and Comment are not translated"

metainfo="$stage/usr/share/metainfo/$id.metainfo.xml"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo lacks release $version"
grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "the metainfo lacks an OARS rating"
for control in pointing keyboard gamepad touch; do
  grep -q "<control>$control</control>" "$metainfo" || fail "the metainfo does not say it supports $control"
done

manual="$stage/usr/share/man/man6/hoplin.6.gz"
warnings=$(MANWIDTH=80 man --warnings -l "$manual" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page has faults: $warnings"
MANWIDTH=80 man -l "$manual" | grep -c "^ *hoplin - " >/dev/null ||
  fail "the manual page does not render"

(cd "$stage" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$stage/package" >/dev/null) ||
  fail "cpack could not build the package"
deb=$(ls "$stage"/package/*.deb)
dpkg-deb -I "$deb" | grep -cx " Version: $version" >/dev/null ||
  fail "the package's version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libfontconfig1 fonts-ipafont-gothic \
  libdecor-0-plugin-1-cairo libgles2 libdbus-1-3 libatk-bridge2.0-0; do
  [[ "$depends" == *"$needed"* ]] || fail "the package does not depend on $needed"
done
packaged=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sed 's|^\./||' | sort)
[ "$packaged" = "$expected" ] || fail "the package holds other files than the installation:
$(diff <(echo "$expected") <(echo "$packaged"))"
lintian --fail-on error,warning "$deb" || fail "lintian finds errors or warnings in the package"
echo "The installation and the package are as expected."
