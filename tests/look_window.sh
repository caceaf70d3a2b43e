#!/usr/bin/env bash
# Screenshots of the real program on an X server of its own, checked by
# look-check: the shape, the text and the bold keys, with the tape focused and
# then without the focus.
#   look_window.sh <qinghe-taxcalc> <look-check> <scale> [xft]
# The scale comes from QT_SCALE_FACTOR, or with `xft` from the server's
# Xft.dpi (96 x scale), as a desktop at that resolution sets it.
set -euo pipefail

program=$1
check=$2
scale=$3
source=${4:-qt}
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session look
start_xvfb 2560x1440x24
# Outside the window's shape the root shows: magenta, which the window never draws.
xsetroot -solid '#FF00FF'

environment=(QT_QPA_PLATFORM=xcb)
if [[ $source == xft ]]; then
  echo "Xft.dpi: $(awk -v s="$scale" 'BEGIN { print 96 * s }')" | xrdb -merge
else
  environment+=(QT_SCALE_FACTOR="$scale")
fi
start_program "${environment[@]}" "$program"
wait_for_window

shot() {
  sleep 0.5
  window_shot "$1"
}

xdotool windowfocus --sync "$window"
xdotool key --delay 40 1 2 plus 3 0 Return
shot "$work/focused.png"
QT_QPA_PLATFORM=offscreen "$check" "$work/focused.png" "$scale" corners text bold || fail "the window at $scale ($source) does not look right"
# The hint line takes the focus; the result line stays selected.
xdotool key Tab
shot "$work/unfocused.png"
QT_QPA_PLATFORM=offscreen "$check" "$work/unfocused.png" "$scale" text || fail "without the focus, the window at $scale ($source) does not look right"
xdotool key Escape
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$app" 2>/dev/null || fail "Escape did not end the program"
echo "look: the window at $scale ($source) has its shape, its text and its bold keys"
