#!/usr/bin/env bash
# Draws docs/screenshot.png: the calculator after 1 2 + 3 0 Enter and Alt+J
# (the tax key), typed under a virtual X server of its own.
#   scripts/screenshot.sh [picture.png]
#   QT_SCALE_FACTOR=2 scripts/screenshot.sh docs/screenshot-2x.png
# Outside the window's rounded shape the picture is transparent. Builds the
# program first when needed, in $BUILD_DIR (default build).
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-docs/screenshot.png}
build=${BUILD_DIR:-build}
scripts/install-deps.sh
[[ -f $build/build.ninja ]] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target qinghe-taxcalc
mkdir -p "$(dirname "$out")"

# The X server, the window wait and its geometry are the window tests' own.
source tests/display_session.sh
session "screenshot"
start_xvfb 2560x1440x24
# The root shows outside the window's shape; magenta, which the window
# never draws, becomes transparent in the picture.
xsetroot -solid '#FF00FF'
start_program "$PWD/$build/app/qinghe-taxcalc"
wait_for_window
xdotool windowfocus --sync "$window"
xdotool key --delay 60 1 2 plus 3 0 Return alt+j
# Let the last key's repaint reach the screen before it is read.
sleep 0.5
window_shot "$work/window.png"
convert "$work/window.png" -transparent '#FF00FF' "$out"
xdotool key Escape
wait_for_exit "Escape"
((status == 0)) || fail "the program ended with status $status: $(cat "$work/program.log")"
echo "screenshot: $out"
