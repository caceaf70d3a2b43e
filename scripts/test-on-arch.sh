#!/usr/bin/env bash
# Builds the program for another Debian CPU with Debian's cross compiler and
# runs its tests there through qemu-user:
#   scripts/test-on-arch.sh [--core|--whole] [--build-only] ARCH [ctest option]...
# ARCH is arm64, armhf, s390x or ppc64el. --core (the default) builds the
# core, the probe and their tests and runs them with the golden files;
# --whole builds the whole program (Qt 6 for ARCH too) and runs the core's
# tests, the window's offscreen tests and the start-up smoke test of the
# real program on Xvfb (tests/arch_smoke.sh). Extra options go to CTest, so
# `-R ui_look` runs just those.
#
# Installs what is missing: the cross compiler, the ARCH -dev packages
# (dpkg --add-architecture), qemu-user-static; mounts binfmt_misc and
# registers qemu for ARCH where the machine has not, so that the tests can
# start ARCH programs as any other. Needs root (or sudo) for that. The build
# is build-ARCH-core or build-ARCH-whole, or $BUILD_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=core
run_tests=yes
while [[ ${1:-} == --* ]]; do
  case $1 in
    --core) mode=core ;;
    --whole) mode=whole ;;
    --build-only) run_tests= ;;
    *) echo "test-on-arch: no option $1" >&2; exit 2 ;;
  esac
  shift
done
arch=${1:-}
[[ -n $arch ]] || { echo "usage: scripts/test-on-arch.sh [--core|--whole] [--build-only] arm64|armhf|s390x|ppc64el [ctest option]..." >&2; exit 2; }
shift

# Debian's name of the CPU, its GNU triplet and qemu's name of it.
declare -A triplets=([arm64]=aarch64-linux-gnu [armhf]=arm-linux-gnueabihf [s390x]=s390x-linux-gnu
  [ppc64el]=powerpc64le-linux-gnu)
triplet=${triplets[$arch]:-}
[[ -n $triplet ]] || { echo "test-on-arch: no CPU named $arch (arm64, armhf, s390x, ppc64el)" >&2; exit 2; }

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi

# Built for the machine and run here.
host_packages=(cmake ninja-build python3 dpkg-dev qemu-user-static "g++-$triplet")
# Built for ARCH: what the core and its tests link.
target_packages=(libgtest-dev libgmock-dev libmpfr-dev)
if [[ $mode == whole ]]; then
  # The window's libraries, as scripts/install-deps.sh lists them for the
  # machine; moc, rcc and uic are the machine's own (qt6-base-dev-tools is
  # Multi-Arch: foreign) and the fonts are for every CPU.
  target_packages+=(qt6-base-dev qt6-svg-dev libgl-dev libjpeg-dev
    libx11-dev libxdamage-dev libxfixes-dev libxcb-shape0-dev
    libxkbcommon-dev libxkbcommon-x11-dev libxcb-xkb-dev libwayland-dev libfontconfig-dev)
  host_packages+=(qt6-base-dev-tools xvfb xauth x11-utils xdotool dbus at-spi2-core python3-pyatspi
    fonts-arphic-gbsn00lp)
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok installed$'; }

missing=()
for name in "${host_packages[@]}"; do installed "$name" || missing+=("$name"); done
for name in "${target_packages[@]}"; do installed "$name:$arch" || missing+=("$name:$arch"); done
if ((${#missing[@]} > 0)); then
  if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    "${sudo_cmd[@]}" dpkg --add-architecture "$arch"
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The kernel starts ARCH programs through qemu once binfmt_misc knows it.
"${sudo_cmd[@]}" bash -c "source scripts/debian-system.sh && foreign_cpu_ready $arch"

build=${BUILD_DIR:-build-$arch-$mode}
options=(-DQINGHE_BUILD_BENCH=OFF -DQINGHE_WARNINGS_AS_ERRORS=ON)
if [[ $mode == core ]]; then options+=(-DQINGHE_BUILD_UI=OFF); fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  --toolchain "$PWD/cmake/toolchains/$triplet.cmake" "${options[@]}"
cmake --build "$build" -j"${JOBS:-2}"
[[ -n $run_tests ]] || exit 0

# The window's tests that need no X server, and the start-up on one; the
# rest of the X and Wayland checks run on the machine's own build.
tests=()
if [[ $mode == whole && $# -eq 0 ]]; then
  tests=(-E '^(ui_smoke|ui_font_files|ui_window_place|ui_fixed_look|ui_keyboard_layouts|ui_picker_program|ui_accessibility_atspi|ui_look_(qt|xft|wayland)|ui_odd_scales|ui_two_monitors|ui_wayland|install_example|debian_package|missing_rows|source_format|command_line|desktop_files|manual_pages)')
fi
ctest --test-dir "$build" --output-on-failure -j"${JOBS:-2}" "${tests[@]}" "$@"
if [[ $mode == whole && $# -eq 0 ]]; then
  tests/display_session.sh --bus -- /usr/bin/python3 tests/arch_smoke.py "$build/app/qinghe-taxcalc"
fi
echo "test-on-arch: $arch ($mode) passed"
