#!/usr/bin/env bash
# Starts the real program under an X server of its own and lists the font
# files it has mapped once its window is up: the Song face and nothing else
# (no face of the desktop's default font beside it).
#   font_files.sh <qinghe-taxcalc>
set -euo pipefail

program=$1
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "font files: $*" >&2; exit 1; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
app=$!
pids+=("$app")
window=
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name '^青禾税率计算器$' 2>/dev/null | head -n1 || true)
  [[ -n $window ]] && break
  kill -0 "$app" 2>/dev/null || fail "the program ended early: $(cat "$work/program.log")"
  sleep 0.1
done
[[ -n $window ]] || fail "no window appeared"
# The first paint, with every caption, follows the map.
sleep 1

# FreeType maps each face it opens, and Qt keeps its faces open.
fonts=$(awk '$6 ~ /\.(ttf|ttc|otf|pfb)$/ {print $6}' "/proc/$app/maps" | sort -u)
echo "font files mapped:" $fonts
[[ $fonts == */gbsn00lp.ttf ]] || fail "expected the Song face alone, found: ${fonts:-none}"
