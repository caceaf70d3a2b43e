#!/usr/bin/env bash
# The window's look is its own: after 1 2 + 3 0 Enter it is the same pixel for
# pixel under -reverse, a dark GTK theme through Qt's GTK platform theme and
# a dark widget style, as with none of them; and with the program's own
# fontconfig configuration (the Song face alone, under the machine's
# rendering rules) as with the machine's whole one, which FONTCONFIG_FILE
# names, at scales 1, 1.5 and 2 and under the dark theme.
#   fixed_look.sh <qinghe-taxcalc>
set -euo pipefail

program=$1
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session "fixed look"
start_xvfb 1280x1024x24

# shoot <name> [VAR=value]... [-- option...]: the window after the sum, in
# $work/<name>.png, the program started with those variables and options.
shoot() {
  local name=$1
  shift
  local vars=() options=()
  while (($#)) && [[ $1 != -- ]]; do vars+=("$1"); shift; done
  (($#)) && shift
  options=("$@")
  start_program QT_QPA_PLATFORM=xcb "${vars[@]}" "$program" "${options[@]}"
  wait_for_window "$name"
  xdotool windowfocus --sync "$window"
  xdotool key --delay 60 1 2 plus 3 0 Return
  sleep 0.5
  window_shot "$work/$name.png"
  xdotool key Escape
  local status=0
  wait "$app" || status=$?
  ((status == 0)) || fail "$name: exit status $status; the program said: $(tail -n 20 "$work/program.log")"
}

# same <name> [reference]: the window in <name> is the one in reference
# (plain) pixel for pixel.
same() {
  local said reference=${2:-plain}
  said=$(compare -metric AE "$work/$reference.png" "$work/$1.png" /dev/null 2>&1 || true)
  # The count of differing pixels comes first: alone from ImageMagick 6,
  # followed by its share of the picture, "0 (0)", from ImageMagick 7.
  [[ ${said%% *} == 0 ]] || fail "$1 changes the window ($reference): compare -metric AE says '$said'"
  echo "fixed look: under $1 the window is the same pixel for pixel as under $reference"
}

machine_fonts=FONTCONFIG_FILE=/etc/fonts/fonts.conf

shoot plain
shoot reverse -- -reverse
same reverse
shoot machine-fonts "$machine_fonts"
same machine-fonts
for scale in 1.5 2; do
  shoot "own-fonts-$scale" QT_SCALE_FACTOR=$scale
  shoot "machine-fonts-$scale" QT_SCALE_FACTOR=$scale "$machine_fonts"
  same "machine-fonts-$scale" "own-fonts-$scale"
done

plugins=$(qtpaths6 --plugin-dir 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
if [[ -e $plugins/platformthemes/libqgtk3.so ]]; then
  shoot gtk-dark QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
  same gtk-dark
  shoot machine-fonts-dark QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark "$machine_fonts"
  same machine-fonts-dark
else
  fail "Qt's GTK platform theme is not installed ($plugins/platformthemes/libqgtk3.so)"
fi
if [[ -e $plugins/styles/adwaita.so ]]; then
  shoot adwaita-dark -- -style Adwaita-Dark
  same adwaita-dark
else
  fail "the Adwaita styles are not installed ($plugins/styles/adwaita.so)"
fi
