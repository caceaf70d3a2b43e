#!/usr/bin/env bash
# The window on two monitors of scales 1 and 2 (QT_SCREEN_SCALE_FACTORS), on
# one X server, with and without a window manager: moved to the monitor at 2
# it becomes 1148 x 500, with its shape, the window manager's size hints and
# pictures at that scale, whole inside that monitor; moved back it is 574 x
# 250 again, its title as bright and bold as on a single monitor.
#   two_monitors.sh <qinghe-taxcalc> <look-check> [openbox]
set -euo pipefail

program=$1
check=$2
manager=${3:-}
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session "two monitors${manager:+ ($manager)}"

# A: 1024 x 768 at the left, scale 1. B: 1536 x 1024 at its right, scale 2,
# so 768 x 512 logical pixels: room for the window whole.
b_left=1024 b_right=2560 b_bottom=1024

# The light pixels of the title in the window's screenshot $1, at scale 1.
title_light() {
  QT_QPA_PLATFORM=offscreen "$check" "$1" 1 title | awk '$1 == "title" && $2 == "light:" {print $3}'
}

start_window() {
  xsetroot -solid '#FF00FF'
  start_program QT_QPA_PLATFORM=xcb "$@" "$program"
  wait_for_window
  xdotool windowfocus --sync "$window"
  xdotool key --delay 40 1 2 plus 3 0 Return
  sleep 0.5
}

# Waits until the window has the place and size `want` ("x y w h", a field
# "-" matching any value).
settle() {
  local want=$1 now
  for _ in $(seq 50); do
    now=$(geometry)
    matches "$now" "$want" && return 0
    sleep 0.1
  done
  return 1
}

matches() {
  local -a now want
  read -r -a now <<<"$1"
  read -r -a want <<<"$2"
  for i in 0 1 2 3; do
    [[ ${want[i]} == - || ${want[i]} == "${now[i]}" ]] || return 1
  done
}

# fitted <w> <h> <where>: the window manager's size hints and the window's
# shape are the window's size.
fitted() {
  local hints shape
  hints=$(xprop -id "$window" WM_NORMAL_HINTS)
  [[ $hints == *"minimum size: $1 by $2"* && $hints == *"maximum size: $1 by $2"* ]] ||
    fail "$3 the size hints are not $1 x $2: $hints"
  shape=$(xwininfo -shape -id "$window")
  [[ $shape == *"Window shape extents:  ${1}x${2}+0+0"* ]] ||
    fail "$3 the shape is not the window's $1 x $2: $(grep -i shape <<<"$shape")"
}

# The same window on one monitor: how bright its title is there.
start_xvfb 1024x768x24
start_window
window_shot "$work/single.png"
single=$(title_light "$work/single.png")
((single > 0)) || fail "no bright title pixel on a single monitor"
kill "$app"
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true

start_xvfb 2560x1024x24
# A takes the server's one output, so no third monitor covers both.
output=$(xrandr --listmonitors | awk 'NR == 2 {print $NF}')
xrandr --setmonitor A 1024/270x768/200+0+0 "$output" >/dev/null
xrandr --setmonitor B 1536/405x1024/270+${b_left}+0 none >/dev/null
if [[ $manager == openbox ]]; then
  start_openbox
fi
start_window QT_SCREEN_SCALE_FACTORS="A=1;B=2"

# bright <screenshot> <when>: the title as bright as on a single monitor
# (within 2 %).
bright() {
  local light
  light=$(title_light "$1")
  ((50 * (light - single) <= single && 50 * (single - light) <= single)) ||
    fail "$2 the title has $light bright pixels, $single on a single monitor"
  echo "$2 the title has $light bright pixels, $single on a single monitor"
}

settle "182 175 574 250" || fail "on A the window is at $(geometry), not 182 175 574 250"
window_shot "$work/start.png"
bright "$work/start.png" "at the start on A"

# onto_b <x> <y> <place>: moved to x,y on B, the window becomes 1148 x 500,
# at `place` and whole inside B, drawn at 2.
onto_b() {
  xdotool windowmove "$window" "$1" "$2"
  settle "- - 1148 500" || fail "moved to $1,$2 on B the window stays $(geometry), not 1148 x 500"
  sleep 0.5
  read -r x y w h < <(geometry)
  matches "$x $y $w $h" "$3" || fail "moved to $1,$2 on B the window is at $x $y $w $h, not $3"
  ((x >= b_left && y >= 0 && x + w <= b_right && y + h <= b_bottom)) ||
    fail "moved to $1,$2 on B the window is at $x $y $w $h, not whole inside B (${b_left},0 to ${b_right},${b_bottom})"
  fitted 1148 500 "on B"
  window_shot "$work/b.png"
  QT_QPA_PLATFORM=offscreen "$check" "$work/b.png" 2 corners text >"$work/check.log" ||
    fail "moved to $1,$2 on B the window does not look right at 2: $(grep FAIL "$work/check.log")"
  echo "moved to $1,$2 on B: $x $y $w $h, whole inside B, its size hints and shape 1148 x 500"
}

# back_to_a: moved to 100,100 on A, the window is 574 x 250 again, drawn at 1.
back_to_a() {
  xdotool windowmove "$window" 100 100
  settle "100 100 574 250" || fail "back on A the window is at $(geometry), not 100 100 574 250"
  sleep 0.5
  fitted 574 250 "back on A"
  window_shot "$work/a.png"
  QT_QPA_PLATFORM=offscreen "$check" "$work/a.png" 1 corners text bold >"$work/check.log" ||
    fail "back on A the window does not look right: $(grep FAIL "$work/check.log")"
  bright "$work/a.png" "back on A"
}

# Where it fits as it grows the window stays; where it does not, it comes
# whole inside B: 876 + 1148 is past B's right edge, 700 + 500 past its foot.
onto_b 1300 200 "1300 200 1148 500"
back_to_a
onto_b 1900 700 "- - 1148 500"
back_to_a

xdotool key Escape
wait_for_exit Escape
((status == 0)) || fail "the program ended with status $status: $(cat "$work/program.log")"
echo "two monitors${manager:+ ($manager)}: the window follows the monitor it is on"
