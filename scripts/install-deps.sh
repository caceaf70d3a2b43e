#!/usr/bin/env bash
# Installs what the project needs to build, test and run on Debian 12.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libjpeg-dev
  clang libclang-rt-14-dev
  xvfb xauth x11-utils x11-xserver-utils openbox
  weston qt6-wayland
  xdotool
  dbus at-spi2-core python3-pyatspi
  libx11-dev libxdamage-dev libxfixes-dev libxcb-shape0-dev
  fonts-arphic-gbsn00lp
  dpkg-dev desktop-file-utils appstream imagemagick
  clang-format git
  lintian man-db groff-base
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
