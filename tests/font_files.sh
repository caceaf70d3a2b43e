#!/usr/bin/env bash
# Starts the real program under an X server of its own and lists the font
# files it has mapped once its window is up: the Song face and nothing else
# (no face of the desktop's default font beside it).
#   font_files.sh <qinghe-taxcalc>
set -euo pipefail

program=$1
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session "font files"
start_xvfb 1024x768x24
start_program QT_QPA_PLATFORM=xcb "$program"
wait_for_window
# The first paint, with every caption, follows the map.
sleep 1

# FreeType maps each face it opens, and Qt keeps its faces open.
fonts=$(awk '$6 ~ /\.(ttf|ttc|otf|pfb)$/ {print $6}' "/proc/$app/maps" | sort -u)
echo "font files mapped:" $fonts
[[ $fonts == */gbsn00lp.ttf ]] || fail "expected the Song face alone, found: ${fonts:-none}"
