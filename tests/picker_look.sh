#!/usr/bin/env bash
# A program that hosts the window through ui::pickValue shows it as the
# program does, pixel for pixel, plain and under -reverse: the window brings
# its own font and direction.
#   picker_look.sh <qinghe-taxcalc> <picker-example>
set -euo pipefail

program=$1
example=$2
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session "picker look"
start_xvfb 1024x768x24
# Outside the window's shape the root shows: magenta, which the window never draws.
xsetroot -solid '#FF00FF'
# The pointer away from the window: no key lit under it.
xdotool mousemove 0 0

# shoot <png> <program> [argument]...: the window as it first shows.
shoot() {
  local png=$1
  shift
  start_program QT_QPA_PLATFORM=xcb "$@"
  wait_for_window "$(basename "$1")"
  sleep 0.5
  window_shot "$png"
  kill "$app"
  wait "$app" 2>/dev/null || true
}

for reverse in "" -reverse; do
  # The example opens the picker on 100.
  shoot "$work/program$reverse.png" "$program" --pick 100 $reverse
  shoot "$work/example$reverse.png" "$example" $reverse
  said=$(compare -metric AE "$work/program$reverse.png" "$work/example$reverse.png" null: 2>&1 || true)
  # The count of differing pixels comes first: alone from ImageMagick 6,
  # followed by its share of the picture, "0 (0)", from ImageMagick 7.
  [[ ${said%% *} == 0 ]] ||
    fail "the picker in a host program${reverse:+ under $reverse} differs from the program's window: compare -metric AE says '$said'"
done
echo "picker look: the hosted picker is the program's window, pixel for pixel, plain and under -reverse"
