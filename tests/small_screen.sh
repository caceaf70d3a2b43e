#!/usr/bin/env bash
# The window on screens too small for its place (182,175, 574 x 250): it
# shows whole, moved as little as it must.
#   small_screen.sh <qinghe-taxcalc>
set -euo pipefail

program=$1
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session small-screen

# screen, the place the window must take
check() {
  local screen=$1 want=$2
  start_xvfb "$screen"
  start_program QT_QPA_PLATFORM=xcb "$program"
  wait_for_window
  [[ $(geometry) == "$want" ]] || fail "on a $screen screen the window is at $(geometry), not $want"
  kill "$app"
  wait "$app" 2>/dev/null || true
  kill "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null || true
}

check 640x480x24 "66 175 574 250"
check 600x400x24 "26 150 574 250"
check 1024x768x24 "182 175 574 250"
echo "small screens: the window shows whole"
