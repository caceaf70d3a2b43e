#!/usr/bin/env bash
# The window on a Wayland compositor, which cuts no window to a shape: a
# headless weston with a magenta desktop, its output at `scale`. Outside the
# rounded shape the window must be transparent (look-check corners on
# weston's screenshot), and the shape must be the region where the window
# takes input (the client's own protocol log).
#   look_wayland.sh <qinghe-taxcalc> <look-check> <scale>
set -euo pipefail

program=$1
check=$2
scale=$3
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session wayland

unset DISPLAY
# --debug lets weston-screenshooter read the output.
start_weston headless 1600 1000 --scale="$scale" --debug
export WAYLAND_DISPLAY=$socket

start_program WAYLAND_DEBUG=client QT_QPA_PLATFORM=wayland "$program"

cd "$work"
passed=
for _ in $(seq 20); do
  sleep 0.5
  kill -0 "$app" 2>/dev/null || fail "the program ended early: $(grep -v '^\[' "$work/program.log" | tail -5)"
  rm -f wayland-screenshot-*.png
  weston-screenshooter >/dev/null 2>&1 || continue
  shot=$(ls wayland-screenshot-*.png 2>/dev/null | head -n1)
  [[ -n $shot ]] || continue
  if QT_QPA_PLATFORM=offscreen "$check" "$shot" "$scale" --find-window corners >"$work/check.log" 2>&1; then
    passed=yes
    break
  fi
done
cat "$work/check.log"
[[ -n $passed ]] || fail "the window's corners are not transparent on weston at $scale"

# The input region is the shape in surface coordinates: its first row is the
# one a 16-pixel corner ellipse cuts by 5 pixels on each side. libwayland's
# log names an object wl_region@14 up to 1.22 and wl_region#14 from 1.23 on.
grep -Eq 'set_input_region\(wl_region[@#][0-9]+\)' program.log || fail "the window set no input region"
grep -Eq 'wl_region[@#][0-9]+\.add\(5, 0, 564, 1\)' program.log || fail "the input region is not the rounded shape"
echo "wayland: at $scale the window is transparent outside its shape and takes input only inside it"
