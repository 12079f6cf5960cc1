# Installs the Debian packages that are missing. Sourced by run.sh and test.sh.

# What building, running and packaging the game needs: translations (gettext, and appstream
# for the metainfo's rules), the icons (libpng), and cpack's dependency scan (dpkg-dev, file).
HOPLIN_BUILD_PACKAGES=(cmake g++ make pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev
  libx11-dev libdbus-1-dev fonts-ipafont-gothic
  # The screen reader's side: ATK and its AT-SPI bridge, in a module loaded on demand.
  libatk1.0-dev libatk-bridge2.0-dev
  gettext appstream libpng-dev dpkg-dev file
  # On Wayland: the title bars, and the OpenGL ES that SDL shows windows through.
  libdecor-0-plugin-1-cairo libegl1 libgles2 libgl1-mesa-dri)

# What the tests and benchmarks need on top: the package checks (lintian, hardening-check from
# devscripts, man) and a Japanese locale's source (locales).
HOPLIN_TEST_PACKAGES=(libgtest-dev libbenchmark-dev fonts-dejavu-core xvfb desktop-file-utils
  lintian devscripts man-db locales
  # The end-to-end tests: pytest on Debian's python3, with X read and driven in-process and
  # screenshots through PIL.
  python3 python3-pytest python3-pytest-timeout python3-xlib python3-pil
  # A desktop's accessibility bus, and a screen reader's client of it.
  at-spi2-core python3-pyatspi gir1.2-atspi-2.0
  # The real desktops the game is tried on: window managers (openbox, GNOME's mutter, KDE's
  # KWin with its Breeze frames), a Wayland compositor, another program's window (xmessage,
  # of x11-utils), and D-Bus's autolaunch, which a game without a session bus must not set
  # off.
  openbox mutter kwin-x11 kwin-style-breeze weston x11-utils dbus-x11)

# The Windows build, tested under Wine: the cross compiler, Wine (and the fonts of its own that
# draw title bars), and NSIS for the installer.
HOPLIN_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64 wine64 wine fonts-wine nsis)

# hoplin_install_missing <package>...: one apt-get install for whatever dpkg lacks.
hoplin_install_missing() {
  local missing=() pkg
  for pkg in "$@"; do
    if ! dpkg -s "$pkg" 2>/dev/null | grep -q '^Status: install ok installed'; then
      missing+=("$pkg")
    fi
  done
  if [ "${#missing[@]}" -eq 0 ]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
    "${missing[@]}"
}
