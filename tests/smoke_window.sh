#!/usr/bin/env bash
# Starts the real program under an X server of its own and checks its window:
#   smoke_window.sh <qinghe-taxcalc>            bare X server: the window maps at
#                                               182,175 with 574 x 250, follows a drag by
#                                               the background, loads no Wayland library,
#                                               and Escape ends the program
#   smoke_window.sh <qinghe-taxcalc> openbox    with a window manager: dragging the
#                                               background moves the window, a click on a
#                                               tape line selects it, a double click on the
#                                               title ends the program
set -euo pipefail

program=$1
manager=${2:-}
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session smoke
start_xvfb 1024x768x24

if [[ $manager == openbox ]]; then
  start_openbox
fi

if [[ $manager == openbox ]]; then
  start_program QT_QPA_PLATFORM=xcb "$program"
else
  # Qt's own option names the display here, as the program lets it through.
  start_program -u DISPLAY QT_QPA_PLATFORM=xcb "$program" -display "$DISPLAY"
fi
wait_for_window

waitForExit() {
  for _ in $(seq 100); do
    kill -0 "$app" 2>/dev/null || { wait "$app" || fail "exit status $?"; return 0; }
    sleep 0.1
  done
  fail "the program did not end after $1"
}

if [[ $manager != openbox ]]; then
  [[ $(geometry) == "182 175 574 250" ]] || fail "window at $(geometry), expected 182 175 574 250"
  # No window manager to move it: the window follows the mouse itself.
  xdotool mousemove 187 275 mousedown 1 mousemove 200 280 mousemove 227 295 mouseup 1
  sleep 0.3
  [[ $(geometry) == "222 195 574 250" ]] || fail "drag on a bare server moved the window to $(geometry)"
  xdotool windowfocus --sync "$window"
  # A key reads the keyboard layout; on X11 that loads nothing of Wayland's.
  xdotool key 7
  sleep 0.3
  if grep -E 'libwayland|libffi' "/proc/$app/maps" >/dev/null; then
    fail "a Wayland library is loaded on X11: $(grep -oE '/[^ ]*(libwayland|libffi)[^ ]*' "/proc/$app/maps" | sort -u | tr '\n' ' ')"
  fi
  xdotool key Escape
  waitForExit Escape
  echo "smoke: window mapped at 182,175, 574 x 250; a drag moved it; no Wayland library on X11; Escape ended the program"
  exit 0
fi

read -r x y _ _ < <(geometry)
# Drag by the free background strip left of the tape.
xdotool mousemove $((x + 5)) $((y + 100)) mousedown 1
for step in 1 2 3 4 5 6; do xdotool mousemove $((x + 5 + 10 * step)) $((y + 100 + 5 * step)); sleep 0.05; done
xdotool mouseup 1
sleep 0.5
read -r nx ny _ _ < <(geometry)
# The window manager takes over once the pointer has left the drag distance;
# the point grabbed stays under the pointer all the same.
((nx == x + 60 && ny == y + 30)) \
  || fail "drag moved the window from $x,$y to $nx,$ny, expected $((x + 60)),$((y + 30))"

# A press on a key never moves it: 7 is at 262,59 in the window.
xdotool mousemove $((nx + 262)) $((ny + 59)) mousedown 1 mousemove $((nx + 300)) $((ny + 100)) mouseup 1
sleep 0.3
[[ $(geometry) == "$nx $ny 574 250" ]] || fail "a press on a key moved the window to $(geometry)"

xdotool mousemove $((nx + 60)) $((ny + 20)) click --repeat 2 --delay 80 1
waitForExit "a double click on the title"
echo "smoke: openbox drag moved the window by $((nx - x)),$((ny - y)) for 60,30; a key did not drag; a double click on the title ended the program"
