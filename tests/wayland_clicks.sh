#!/usr/bin/env bash
# Double clicks on a Wayland compositor: a weston nested in an X server of
# its own, its pointer driven by real X events. A left press on a drag
# surface must not start the compositor's move at once, whose grab would
# swallow the second click: every one of `count` double clicks on the title
# and the rate label closes the window, and every one on a tape line picks.
#   tests/display_session.sh is sourced; run it alone:
#   bash tests/wayland_clicks.sh build/app/qinghe-taxcalc [count]
# Not yet in CTest: Debian 12 (weston 10, Qt 6.4) acts on 60 of 60, Debian 13
# (weston 14, Qt 6.8) lost one title double click of 20 in one run of two.
set -euo pipefail

program=$1
count=${2:-20}
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session "wayland clicks"
start_xvfb 1024x768x24

export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
cat >"$work/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xffff00ff
panel-position=none
locking=false
animation=none
startup-animation=none
INI
socket=clicks-$$
weston --backend=x11-backend.so --use-pixman --width=900 --height=600 --socket="$socket" \
  --config="$work/weston.ini" >"$work/weston.log" 2>&1 &
track $!
for _ in $(seq 100); do [[ -S $XDG_RUNTIME_DIR/$socket ]] && break; sleep 0.1; done
[[ -S $XDG_RUNTIME_DIR/$socket ]] || fail "weston did not start: $(tail -5 "$work/weston.log")"
# weston's output: a window of the X server's root, at its place there.
ox= oy=
for _ in $(seq 50); do
  read -r ox oy < <(xwininfo -root -children | awk '/"Weston Compositor/ { split($NF, at, "+"); print at[2], at[3] }') || true
  [[ -n $ox ]] && break
  sleep 0.1
done
[[ -n $ox ]] || fail "weston's output window did not appear: $(tail -5 "$work/weston.log")"

# The calculator's place in weston's output: the box of what is not magenta.
find_window() {
  # The pointer at the output's last pixel, where its cursor shows no more
  # than that pixel, painted over.
  xdotool mousemove $((ox + 899)) $((oy + 599))
  sleep 0.1
  import -window root -crop "900x600+${ox}+${oy}" +repage "$work/output.png"
  convert "$work/output.png" -fill '#FF00FF' -draw 'rectangle 896,596 899,599' -fill black -fuzz 2% -opaque '#FF00FF' -fill white +opaque black -trim \
    -format '%X %Y %w %h' info: | tr -d '+'
}

# run_once <x> <y> <argument>...: starts the program, waits until it shows,
# types $typed, double clicks at x, y of the window and waits for it to end.
run_once() {
  local dx=$1 dy=$2
  shift 2
  start_caller WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland "$program" "$@"
  local box=
  for _ in $(seq 100); do
    box=$(find_window 2>/dev/null || true)
    read -r _ _ w _ <<<"${box:-0 0 0 0}"
    ((w == 574)) && break
    sleep 0.1
  done
  read -r wx wy w _ <<<"$box"
  ((w == 574)) || { cp "$work/output.png" /tmp/wl-output.png; fail "the window did not show in weston ($box)"; }
  # Shown is not yet ready for the pointer: let the first frame settle.
  sleep 0.5
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
  kill "$app"
  wait "$app" || true
  status=lost
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
