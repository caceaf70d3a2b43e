#!/usr/bin/env bash
# Where the window opens: at 182,175 (574 x 250) where it fits, whole on a
# screen too small for that, moved as little as it must, and where Qt's
# -qwindowgeometry puts it.
#   window_place.sh <qinghe-taxcalc>
set -euo pipefail

program=$1
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session window-place

# check <screen> <the place the window must take> [option]...
check() {
  local screen=$1 want=$2
  shift 2
  start_xvfb "$screen"
  start_program QT_QPA_PLATFORM=xcb "$program" "$@"
  wait_for_window
  [[ $(geometry) == "$want" ]] || fail "on a $screen screen${*:+ with $*} the window is at $(geometry), not $want"
  kill "$app"
  wait "$app" 2>/dev/null || true
  kill "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null || true
}

check 640x480x24 "66 175 574 250"
check 600x400x24 "26 150 574 250"
check 1024x768x24 "182 175 574 250"
check 1024x768x24 "0 0 574 250" -qwindowgeometry +0+0
check 1024x768x24 "450 518 574 250" -qwindowgeometry 574x250-0-0
check 1024x768x24 "182 175 574 250" -qwindowgeometry nowhere
check 640x480x24 "66 230 574 250" -qwindowgeometry +300+400
echo "window place: where it fits, whole on small screens, and as -qwindowgeometry asks"
