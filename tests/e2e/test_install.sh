#!/usr/bin/env bash
# Installs a build into a staging folder and checks that it installs like a desktop
# application: exactly the expected files, valid desktop and metainfo files, and a Debian
# package whose dependencies name the runtime libraries and a Japanese font.
#
# Usage: test_install.sh <build folder>
set -euo pipefail
build=$(cd "$1" && pwd)
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
    usr/bin/hoplin \
    "usr/share/applications/$id.desktop" \
    "usr/share/metainfo/$id.metainfo.xml" \
    usr/share/icons/hicolor/{16x16,32x32,48x48,128x128,256x256}/apps/$id.png | sort
)
installed=$(cd "$stage" && find . -type f | sed 's|^\./||' | sort)
[ "$installed" = "$expected" ] || fail "installed files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$installed"))"

for size in 16 32 48 128 256; do
  file "$stage/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" |
    grep -q "PNG image data, $size x $size" || fail "the ${size}px icon is not a ${size}x${size} PNG"
done

desktop-file-validate "$stage/usr/share/applications/$id.desktop" ||
  fail "desktop-file-validate rejects the desktop file"
grep -qx 'Categories=Game;ArcadeGame;' "$stage/usr/share/applications/$id.desktop" ||
  fail "the desktop file's categories are wrong"
grep -qx "StartupWMClass=$id" "$stage/usr/share/applications/$id.desktop" ||
  fail "the desktop file's StartupWMClass is not the window class"

appstreamcli validate --no-net "$stage/usr/share/metainfo/$id.metainfo.xml" ||
  fail "appstreamcli rejects the metainfo"
grep -q '<release version="1.0.0.2"' "$stage/usr/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo lacks release 1.0.0.2"
grep -q '<content_rating type="oars-1.1"' "$stage/usr/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo lacks an OARS content rating"

(cd "$stage" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$stage/package" >/dev/null) ||
  fail "cpack could not build the package"
deb=$(ls "$stage"/package/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libfontconfig1 fonts-ipafont-gothic; do
  [[ "$depends" == *"$needed"* ]] || fail "the package does not depend on $needed"
done
packaged=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sed 's|^\./||' | sort)
[ "$packaged" = "$expected" ] || fail "the package holds other files than the installation:
$(diff <(echo "$expected") <(echo "$packaged"))"
echo "The installation and the package are as expected."
