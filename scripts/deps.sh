#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-charts-dev qt6-svg-dev libgl-dev libeigen3-dev
          googletest libgtest-dev libbenchmark-dev clang-14 libclang-rt-14-dev
          fonts-dejavu-core ccache clang-format-14
          libfontconfig-dev poppler-utils libx11-dev
          desktop-file-utils appstream libxml2-utils dpkg-dev file
          openbox       # a window manager for trying the program under Xvfb: focus as on a desktop
          librsvg2-bin) # rsvg-convert: to look at exported SVG charts as other programs draw them
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${missing[@]}"
fi
