#!/usr/bin/env bash
# Odd scale factors still give a usable window: under an X server of its own
# the program opens a window of 574 x 250 times the factor (brought into 1 to
# 8, the scales it is drawn for), takes keys, and Escape ends it normally.
#   odd_scales.sh <qinghe-taxcalc> <factor>...
set -euo pipefail

program=$1
shift
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "odd scales: $*" >&2; exit 1; }

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

for factor in "$@"; do
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$factor "$program" >"$work/program.log" 2>&1 &
  app=$!
  pids+=("$app")
  window=
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name '^青禾税率计算器$' 2>/dev/null | head -n1 || true)
    [[ -n $window ]] && break
    kill -0 "$app" 2>/dev/null || fail "at $factor the program ended early: $(cat "$work/program.log")"
    sleep 0.1
  done
  [[ -n $window ]] || fail "at $factor no window appeared"
  read -r w h < <(xwininfo -id "$window" | awk '/Width/{w=$2} /Height/{h=$2} END{print w, h}')
  scale=$(awk -v f="$factor" 'BEGIN { print f < 1 ? 1 : (f > 8 ? 8 : f) }')
  expected_w=$(awk -v s="$scale" 'BEGIN { printf "%d", 574 * s + 0.5 }')
  expected_h=$(awk -v s="$scale" 'BEGIN { printf "%d", 250 * s + 0.5 }')
  [[ $w == "$expected_w" && $h == "$expected_h" ]] || fail "at $factor the window is $w x $h, expected $expected_w x $expected_h"
  xdotool windowfocus --sync "$window"
  xdotool key --delay 30 1 2 plus 3 0 Return alt+j
  sleep 0.3
  kill -0 "$app" 2>/dev/null || fail "at $factor the program ended on the keys: $(cat "$work/program.log")"
  xdotool key Escape
  status=0
  for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  wait "$app" || status=$?
  ((status == 0)) || fail "at $factor the program ended with status $status: $(cat "$work/program.log")"
  echo "odd scales: at $factor a $w x $h window took the keys and closed"
done
