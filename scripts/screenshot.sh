#!/usr/bin/env bash
# Draws docs/screenshot.png: the calculator after 1 2 + 3 0 Enter and Alt+J
# (the tax key), typed under a virtual X server of its own.
#   scripts/screenshot.sh [picture.png]
#   QT_SCALE_FACTOR=2 scripts/screenshot.sh docs/screenshot-2x.png
# Outside the window's rounded shape the picture is transparent. Builds the
# program first when needed, in $BUILD_DIR (default build).
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ ${1:-} == --on-display ]]; then
  program=$2
  out=$3
  # The root shows outside the window's shape; magenta, which the window
  # never draws, becomes transparent in the picture.
  xsetroot -solid '#FF00FF'
  "$program" &
  app=$!
  trap 'kill "$app" 2>/dev/null || true' EXIT
  window=
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name '^青禾税率计算器$' 2>/dev/null | head -n1 || true)
    [[ -n $window ]] && break
    sleep 0.1
  done
  [[ -n $window ]] || { echo "screenshot: no window appeared" >&2; exit 1; }
  xdotool windowfocus --sync "$window"
  xdotool key --delay 60 1 2 plus 3 0 Return alt+j
  # Let the last key's repaint reach the screen before it is read.
  sleep 0.5
  read -r x y w h < <(xwininfo -id "$window" |
    awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width/{w=$2} /Height/{h=$2} END{print x, y, w, h}')
  import -window root -crop "${w}x${h}+${x}+${y}" +repage -transparent '#FF00FF' "$out"
  xdotool key Escape
  wait "$app"
  exit 0
fi

out=${1:-docs/screenshot.png}
build=${BUILD_DIR:-build}
scripts/install-deps.sh
[[ -f $build/build.ninja ]] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target qinghe-taxcalc
mkdir -p "$(dirname "$out")"
tests/display_session.sh --screen 2560x1440x24 -- "$0" --on-display "$PWD/$build/app/qinghe-taxcalc" "$out"
echo "screenshot: $out"
