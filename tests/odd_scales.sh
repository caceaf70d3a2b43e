#!/usr/bin/env bash
# Odd scale factors still give a usable window: under an X server of its own
# the program opens a window of 574 x 250 times the factor (brought into 1 to
# 8, the scales it is drawn for), takes keys, and Escape ends it normally.
#   odd_scales.sh <qinghe-taxcalc> <factor>...
set -euo pipefail

program=$1
shift
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session "odd scales"
start_xvfb 1280x1024x24

for factor in "$@"; do
  start_program QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$factor" "$program"
  wait_for_window "at $factor"
  read -r _ _ w h < <(geometry)
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
