#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Qelvane need.
# Only what is missing is installed; running it again does nothing.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-tools-dev qt6-tools-dev-tools libqt6sql6-sqlite qt6-translations-l10n
  libqt6opengl6-dev libgl-dev libopengl-dev libglx-dev libegl-dev
  libfluidsynth-dev timgm6mb-soundfont
  libopencc-dev opencc libsqlite3-dev unicode-data bzip2
  xvfb xauth x11-utils xdotool openbox imagemagick unzip xdg-utils poppler-utils
  desktop-file-utils appstream lintian
  fonts-noto-cjk fonts-hanazono fonts-babelstone-han
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

echo "deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# The package lists of a fresh machine may not know the packages yet.
if ! $SUDO apt-get install -y --no-install-recommends "${missing[@]}"; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
