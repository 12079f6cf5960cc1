# Installs the Debian packages that are missing. Sourced by run.sh and test.sh.

# What building and running the game needs.
HOPLIN_BUILD_PACKAGES=(cmake g++ make pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev
  libx11-dev fonts-ipafont-gothic)

# What the tests and benchmarks need on top.
HOPLIN_TEST_PACKAGES=(libgtest-dev libbenchmark-dev fonts-dejavu-core python3 xvfb
  xdotool imagemagick desktop-file-utils appstream file
  # The real desktops the game is tried on: a window manager, a Wayland compositor with the
  # title bars and the OpenGL ES that SDL shows Wayland windows through, and X's own tools
  # (xrdb sets the desktop's DPI).
  openbox weston libdecor-0-plugin-1-cairo libegl1 libgles2 libgl1-mesa-dri x11-utils
  x11-xserver-utils)

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
