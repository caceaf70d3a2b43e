#!/usr/bin/env bash
# Installs what the project needs to build, test and run, on Debian 12 and
# Debian 13 alike. Does nothing when everything is already there.
#
# A row may name alternatives, "a|b": the first package this release's apt
# knows is the one installed, so a package renamed in a later release needs
# its new name added here, not a list of releases.
set -euo pipefail

packages=(
  # pkg-config: Qt's CMake package asks it for fontconfig and xkbcommon, and
  # the cross toolchains (cmake/toolchains) point it at the target's .pc files.
  build-essential cmake ninja-build pkg-config python3
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libjpeg-dev
  # The calculator's numbers: the 80-bit extended value, correctly rounded.
  libmpfr-dev
  # libclang-rt-dev follows the release's default clang.
  clang libclang-rt-dev
  xvfb xauth x11-utils x11-xserver-utils openbox
  weston qt6-wayland
  xdotool
  # Themes and styles the window must look the same under (tests/fixed_look.sh).
  qt6-gtk-platformtheme adwaita-qt6
  dbus at-spi2-core python3-pyatspi
  # GLib's launcher of desktop entries, for tests/desktop_actions.sh.
  python3-gi gir1.2-glib-2.0
  libx11-dev libxdamage-dev libxfixes-dev libxtst-dev libxcb-shape0-dev
  # The keyboard layout, read from the X server or the Wayland compositor;
  # setxkbmap to test layouts.
  libxkbcommon-dev libxkbcommon-x11-dev libxcb-xkb-dev libwayland-dev x11-xkb-utils
  # The program sets up fontconfig for the Song face before Qt starts.
  libfontconfig-dev fonts-arphic-gbsn00lp
  # glibc's locale sources: tests/terminal_codeset.sh makes a GB2312 zh_CN.
  locales
  dpkg-dev desktop-file-utils appstream imagemagick
  # The tree's format is checked with this one version (tests/source_format.sh).
  clang-format-19 git
  lintian man-db groff-base
)

# --bench-peers: also the programs bench-keys measures this one against, and
# valgrind for its instructions per key. The benchmark runs without them.
if [[ ${1:-} == --bench-peers ]]; then
  packages+=(x11-apps galculator valgrind)
fi

# Installed for this machine's own architecture (or for all): a foreign
# architecture's -dev package, as a cross build installs, does not count.
native=$(dpkg --print-architecture)
installed() {
  dpkg-query -W -f='${Status} ${Architecture}\n' "$1" 2>/dev/null |
    grep -Eq "^install ok installed ($native|all)\$"
}
known() { [[ -n $(apt-cache policy "$1" 2>/dev/null | awk '/Candidate:/ && $2 != "(none)" {print $2}') ]]; }

# Rows not yet satisfied by an installed package.
wanted=()
for row in "${packages[@]}"; do
  IFS='|' read -r -a names <<<"$row"
  satisfied=
  for name in "${names[@]}"; do
    if installed "$name"; then satisfied=yes; break; fi
  done
  [[ -n $satisfied ]] || wanted+=("$row")
done

if ((${#wanted[@]} == 0)); then
  exit 0
fi

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq

missing=()
unknown=()
for row in "${wanted[@]}"; do
  IFS='|' read -r -a names <<<"$row"
  chosen=
  for name in "${names[@]}"; do
    if known "$name"; then chosen=$name; break; fi
  done
  if [[ -n $chosen ]]; then missing+=("$chosen"); else unknown+=("$row"); fi
done
if ((${#unknown[@]} > 0)); then
  echo "install-deps: this release's apt knows no package named ${unknown[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
