#!/usr/bin/env bash
# Installs every Debian 12 package that the build, the application and the tests need, when it is
# missing, and generates the locale with a decimal comma that the locale tests run under
# (de_DE.UTF-8). Runs as root, or as a user with sudo. Needs no standard input.
set -euo pipefail

packages=(
  # tool chain
  build-essential cmake ninja-build pkg-config git
  # code style check of the tests (the repository's .clang-format)
  clang-format
  # tests
  libgtest-dev libgmock-dev googletest
  # Qt 6 Widgets + OpenGL widgets; the platform plugins (xcb for the desktop, offscreen for tests)
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-qpa-plugins
  # the pictograms are SVG files (Qt SVG and its icon engine)
  qt6-svg-dev libqt6svg6
  # the desktop entry is checked by the install test
  desktop-file-utils shared-mime-info
  libgl-dev libglx-dev libegl-dev
  # sound
  libopenal-dev libopenal1
  # the programs' heap (optimised builds): jemalloc on transparent huge pages
  libjemalloc-dev libjemalloc2
  # the desktop test closes the editor's window through X
  libxcb1-dev
  # headless display for OpenGL tests and for run.sh without a display; Mesa's software renderer
  xvfb xauth libgl1-mesa-dri libglx-mesa0 mesa-utils x11-utils
  fonts-dejavu-core
  # the locale tests need a locale whose decimal separator is a comma
  locales
)
comma_locale=de_DE.UTF-8

# One query for all of them: a package is missing unless dpkg says "install ok installed".
declare -A installed=()
while read -r name status; do
  if [ "$status" = "install ok installed" ]; then installed[${name%%:*}]=1; fi
done < <(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for p in "${packages[@]}"; do
  if [ -z "${installed[$p]:-}" ]; then missing+=("$p"); fi
done

has_comma_locale() {
  command -v locale >/dev/null && locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'
}

if [ ${#missing[@]} -eq 0 ] && has_comma_locale; then
  exit 0
fi

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "deps.sh: not root and no sudo; as root, install ${missing[*]:-nothing} and generate" \
      "the locale $comma_locale (locale-gen)" >&2
    exit 1
  fi
  SUDO=(sudo)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt_opts=(-o DPkg::Lock::Timeout=600)
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_opts[@]}" update -qq
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_opts[@]}" install -y -qq \
    --no-install-recommends "${missing[@]}" </dev/null
fi

if ! has_comma_locale; then
  echo "Generating the locale $comma_locale"
  # Enable its line in /etc/locale.gen (commented out or missing) and generate the enabled ones.
  if grep -q "^# *$comma_locale UTF-8" /etc/locale.gen 2>/dev/null; then
    "${SUDO[@]}" sed -i "s/^# *\($comma_locale UTF-8\)/\1/" /etc/locale.gen
  elif ! grep -q "^$comma_locale UTF-8" /etc/locale.gen 2>/dev/null; then
    echo "$comma_locale UTF-8" | "${SUDO[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${SUDO[@]}" locale-gen >/dev/null
  if ! has_comma_locale; then
    echo "deps.sh: the locale $comma_locale could not be generated" >&2
    exit 1
  fi
fi
