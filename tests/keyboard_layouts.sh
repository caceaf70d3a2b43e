#!/usr/bin/env bash
# Keys type what is printed on them, on the layouts people type on: the
# program under an X server of its own, the layout set with setxkbmap, keys
# sent with xdotool by the character they type (xdotool adds Shift where the
# layout needs it), the result read from the tape the program prints.
#   keyboard_layouts.sh <qinghe-taxcalc> [wayland]
# With "wayland" the program runs in a weston nested in the X server, which
# takes the X server's layout when it starts; the rows that change the
# layout while the window is open are left out there.
set -euo pipefail

program=$1
wayland=${2:-}
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session "keyboard layouts${wayland:+ on wayland}"
start_xvfb 1024x768x24

# Layout, the tape's last line's number after the keys, and the keys; a key
# "layout=xx" switches the server to layout xx while the program runs.
rows=(
  "us|42|1 2 plus 3 0 Return"
  "us|10|shift+5 shift+8 2 Return"
  "us|-100|1 0 0 minus Return"
  "us|-100|1 0 0 shift+minus Return"
  "us|3|9 shift+slash 3 Return"
  "us|1.5|1 shift+period 5 Return"
  "us|42|4 2 alt+m alt+c alt+h Return"
  # AZERTY types its digits with Shift; the unshifted row is & é " ' ( - è _ ç à.
  "fr|1234|ampersand eacute quotedbl apostrophe Return"
  "fr|790|egrave ccedilla agrave Return"
  "fr|42|8 4 slash 2 Return"
  "fr|24|1 2 asterisk 2 Return"
  "fr|-5|5 minus Return"
  # Alt+M is the key marked M, right of L.
  "fr|42|4 2 alt+m alt+c alt+h Return"
  # QWERTZ: Shift+0 is =, Shift+7 is /, Shift+6 is &, Shift+8 is (; # is nothing.
  "de|35|1 2 plus 3 0 equal 5 Return"
  "de|42|8 4 slash 2 Return"
  "de|68|ampersand parenleft Return"
  "de|12|1 numbersign 2 Return"
  "de|4.5|4 period 5 Return"
  # No Latin letters: Alt acts by the US letter at the key's place, С for C.
  "ru|4|1 2 plus 3 alt+Cyrillic_es 4 Return"
  "ru|42|4 2 alt+Cyrillic_softsign alt+Cyrillic_es alt+Cyrillic_er Return"
  "ru|42|6 asterisk 7 Return"
  # Two layouts: xdotool switches to the second group for the Cyrillic keys.
  "us,ru|4|1 2 plus 3 alt+Cyrillic_es 4 Return"
  # ю is where . is on the first: nothing, not the point.
  "us,ru|15|1 Cyrillic_yu 5 Return"
  # The layout changed while the window is open: / and * are elsewhere now.
  "us|42|8 layout=de 4 slash 2 Return"
  "fr|24|ampersand layout=us 2 asterisk 2 Return"
)

weston_layout=
weston_pid=
for row in "${rows[@]}"; do
  IFS='|' read -r layout want keys <<<"$row"
  if [[ -z $wayland ]]; then
    setxkbmap -display "$DISPLAY" -layout "$layout"
    start_caller QT_QPA_PLATFORM=xcb "$program" --print-tape
    wait_for_window "$layout: $keys:"
    xdotool windowfocus --sync "$window"
  else
    [[ $keys != *layout=* ]] || continue
    if [[ $layout != "$weston_layout" ]]; then
      [[ -z $weston_pid ]] || { kill "$weston_pid"; wait "$weston_pid" 2>/dev/null || true; }
      setxkbmap -display "$DISPLAY" -layout "$layout"
      start_weston x11 800 400
      weston_pid=${pids[-1]}
      weston_layout=$layout
    fi
    start_caller WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland "$program" --print-tape
    wait_for_weston_window
    # weston gives the new window the keyboard; the pointer over its
    # output gives weston the X server's.
    xdotool mousemove $((ox + 10)) $((oy + 10))
  fi
  for key in $keys; do
    if [[ $key == layout=* ]]; then
      setxkbmap -display "$DISPLAY" "${key#layout=}"
      sleep 0.3 # the new keymap reaches the program as an event
    else
      xdotool key --delay 60 "$key"
    fi
  done
  xdotool key Escape
  wait_for_exit "$layout: $keys: Escape"
  got=$(tail -n 1 "$work/program.out" | awk '{print $NF}')
  [[ $got == "$want" ]] || fail "$layout: $keys: the result is '$got', not '$want'; the tape: $(cat "$work/program.out")"
  echo "keyboard layouts: $layout: $keys: $got"
done
