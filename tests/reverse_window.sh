#!/usr/bin/env bash
# The program under -reverse looks exactly as without it after 1 2 + 3 0
# Enter: its layout is fixed place by place and never mirrored.
#   reverse_window.sh <qinghe-taxcalc>
set -euo pipefail

program=$1
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session reverse
start_xvfb 1024x768x24

# shoot <name> [Qt option]...: the window after the sum, in $work/<name>.png
shoot() {
  local name=$1
  shift
  start_program QT_QPA_PLATFORM=xcb "$program" "$@"
  wait_for_window
  xdotool windowfocus --sync "$window"
  xdotool key --delay 60 1 2 plus 3 0 Return
  sleep 0.5
  read -r x y w h < <(geometry)
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$work/$name.png"
  xdotool key Escape
  wait "$app" || fail "$name: exit status $?"
}

shoot plain
shoot reverse -reverse
differing=$(compare -metric AE "$work/plain.png" "$work/reverse.png" /dev/null 2>&1 || true)
[[ $differing == 0 ]] || fail "-reverse changes $differing pixels of the window"
echo "reverse: the window is the same pixel for pixel"
