#!/usr/bin/env bash
# Installs every Debian 12 package that the build, the application and the tests need, when it is
# missing. Runs as root, or as a user with sudo. Needs no standard input.
set -euo pipefail

packages=(
  # tool chain
  build-essential cmake ninja-build pkg-config git
  # tests
  libgtest-dev libgmock-dev googletest
  # Qt 6 Widgets + OpenGL widgets; the platform plugins (xcb for the desktop, offscreen for tests)
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-qpa-plugins
  libgl-dev libglx-dev libegl-dev
  # sound
  libopenal-dev libopenal1
  # headless display for OpenGL tests and for run.sh without a display; Mesa's software renderer
  xvfb xauth libgl1-mesa-dri libglx-mesa0 mesa-utils x11-utils
  fonts-dejavu-core
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

SUDO=()
need_root() {
  if [ "$(id -u)" -ne 0 ] && [ ${#SUDO[@]} -eq 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "deps.sh: not root and no sudo; run as root: $*" >&2
      exit 1
    fi
    SUDO=(sudo)
  fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  need_root "${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt_opts=(-o DPkg::Lock::Timeout=600)
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_opts[@]}" update -qq
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_opts[@]}" install -y -qq \
    --no-install-recommends "${missing[@]}" </dev/null
fi

# The locale tests need a locale whose decimal separator is a comma (de_DE.UTF-8).
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the locale de_DE.UTF-8"
  need_root "localedef -i de_DE -f UTF-8 de_DE.UTF-8"
  "${SUDO[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
