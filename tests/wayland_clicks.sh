#!/usr/bin/env bash
# Double clicks on a Wayland compositor: a weston nested in an X server of
# its own, its pointer driven by real X events. A left press on a drag
# surface must not start the compositor's move at once, whose grab would
# swallow the second click: every one of `count` double clicks on the title
# and the rate label closes the window, and every one on a tape line picks,
# and each time the program ends.
#   wayland_clicks.sh <qinghe-taxcalc> [count]
set -euo pipefail

program=$1
count=${2:-20}
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session "wayland clicks"
start_xvfb 1024x768x24

start_weston x11 900 600

# run_once <x> <y> <argument>...: starts the program, waits until it shows,
# types $typed, double clicks at x, y of the window and waits for it to end.
run_once() {
  local dx=$1 dy=$2
  shift 2
  start_caller WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland "$program" "$@"
  wait_for_weston_window
  xdotool mousemove $((ox + wx + dx)) $((oy + wy + dy))
  if [[ -n $typed ]]; then
    # weston gives the new window the keyboard.
    xdotool key --delay 60 $typed
    sleep 0.2
  fi
  xdotool click --repeat 2 --delay 80 1
  status=
  for _ in $(seq 50); do
    if ! kill -0 "$app" 2>/dev/null; then
      status=0
      wait "$app" || status=$?
      return
    fi
    sleep 0.1
  done
  # A window gone with its program still running is a program that hangs
  # as it ends, not a double click lost.
  read -r _ _ w _ <<<"$(weston_window_box 2>/dev/null || echo 0 0 0 0)"
  if ((w == 574)); then status=lost; else status=hung; fi
  kill "$app"
  wait "$app" || true
}

for target in "title 60 20" "rate-label 470 22" "tape-line 100 41"; do
  read -r name dx dy <<<"$target"
  acted=0
  for _ in $(seq "$count"); do
    if [[ $name == tape-line ]]; then
      # The first line holds the number the picker started with.
      typed="KP_Add 1 Return" run_once "$dx" "$dy" --pick 7.5
      if [[ $status == 0 && $(cat "$work/program.out") == 7.5 ]]; then acted=$((acted + 1)); else echo "  missed: status $status, printed '$(cat "$work/program.out")'"; fi
    else
      typed= run_once "$dx" "$dy"
      if [[ $status == 0 ]]; then acted=$((acted + 1)); else echo "  missed: status $status"; fi
    fi
  done
  echo "wayland clicks: $name: $acted of $count double clicks acted"
  ((acted == count)) || fail "$name: only $acted of $count double clicks acted"
done
