#!/usr/bin/env bash
# The one launcher of the X server for everything that runs the real program
# on a display of its own: the window tests, the screenshots, any script.
#
# Run, it starts a command on a fresh Xvfb (and, with --bus, in a session bus
# of its own), then stops the server and ends with the command's status:
#   tests/display_session.sh [--screen WxHxD] [--bus] -- <command> [argument]...
#   tests/display_session.sh --bus -- python3 tests/accessibility_atspi.py build/app/qinghe-taxcalc
#   tests/display_session.sh -- scripts/run.sh
#
# Sourced, it gives a shell script the pieces. After `session "<name>"`:
#   $work            a scratch directory, removed at exit with every process
#                    started through `track`
#   fail <text>      says "<name>: <text>" on stderr and exits 1
#   start_xvfb <screen> [Xvfb option]...   starts Xvfb and exports DISPLAY;
#                    the server's pid is $xvfb_pid
#   start_program [NAME=value]... <program> [argument]...
#                    starts it in the background, output in $work/program.log;
#                    its pid is $app
#   start_caller [NAME=value]... <program> [argument]...
#                    the same as a calling program runs it: standard output
#                    apart in $work/program.out
#   wait_for_exit <what>     waits for the program to end; sets $status
#   wait_for_window [what]   waits for the calculator's window; sets $window
#   geometry         prints the window's x, y, width and height
#   start_weston <x11|headless> <width> <height> [weston option]...
#                    a weston with a magenta desktop and a pointer that
#                    draws nothing; exports XDG_RUNTIME_DIR and the cursor
#                    theme (for weston and the programs started after it)
#                    and sets $socket (for WAYLAND_DISPLAY). With x11, on the
#                    X server in a window of its own, whose output's place
#                    on the X screen is $ox, $oy; keys typed with xdotool
#                    reach weston's focused window, in the layout the X
#                    server had when weston started, and the pointer moved
#                    with xdotool is where weston has it.
#   weston_window_box  prints x, y, width and height of what is not magenta
#                    in weston's output: the calculator's window there
#   wait_for_weston_window   waits until the window shows whole in weston and
#                    its first frame has settled; sets $wx, $wy, its place
#                    in the output
#   window_shot <png>        the window's rectangle of the screen, as shown
#   start_openbox    starts openbox as the window manager and waits until it
#                    manages the screen
# A script with an exit trap of its own skips `session`: it sets $work to a
# directory of its own and kills the pids in the array `pids` at exit, and
# may define its own `fail` after sourcing. Then
#   source tests/display_session.sh
#   start_xvfb 1024x768x24

session() {
  session_name=$1
  work=$(mktemp -d)
  pids=()
  trap session_end EXIT
}

session_end() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}

track() { pids+=("$1"); }

fail() {
  echo "$session_name: $*" >&2
  # What the X server said, if it went away: the program sees that only as a
  # display it cannot open. A server still running says only the warnings
  # of its start, which would bury the message above.
  if [[ -s ${work:-}/xvfb.log ]] && ! kill -0 "${xvfb_pid:-}" 2>/dev/null; then
    echo "$session_name: the X server's log ends:" >&2
    tail -n 5 "$work/xvfb.log" >&2
  fi
  exit 1
}

start_xvfb() {
  local screen=$1
  shift
  # -displayfd picks a free display number and writes it once the server is up.
  # -noreset: by default the server starts afresh whenever its last client
  # leaves, and a program that connects during that reset is refused, as the
  # next of several programs started one after another may be; the root's
  # colour and resources would go with it too.
  rm -f "$work/display" # a second server in one session writes its own
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset "$@" 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  track "$xvfb_pid"
  for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
  [[ -s $work/display ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(head -n1 "$work/display")"
}

start_program() {
  env "$@" >"$work/program.log" 2>&1 &
  app=$!
  track "$app"
}

start_caller() {
  env "$@" >"$work/program.out" 2>"$work/program.log" &
  app=$!
  track "$app"
}

wait_for_exit() {
  for _ in $(seq 100); do
    if ! kill -0 "$app" 2>/dev/null; then
      status=0
      wait "$app" || status=$?
      return 0
    fi
    sleep 0.1
  done
  fail "the program did not end after $1"
}

wait_for_window() {
  local what=${1:-}
  window=
  for _ in $(seq 150); do
    window=$(LC_ALL=C.UTF-8 xdotool search --onlyvisible --name '^青禾税率计算器$' 2>/dev/null | head -n1 || true)
    [[ -n $window ]] && return 0
    kill -0 "$app" 2>/dev/null || fail "${what:+$what }the program ended early: $(cat "$work/program.log")"
    sleep 0.1
  done
  fail "${what:+$what }no window appeared"
}

geometry() {
  xwininfo -id "$window" |
    awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width/{w=$2} /Height/{h=$2} END{print x, y, w, h}'
}

# A cursor theme whose every pointer is one transparent pixel, in Xcursor's
# file format: weston draws the pointer into its output, where it would be
# part of every picture taken of it.
clear_cursor_theme() {
  local dir=$1/clear/cursors name
  mkdir -p "$dir"
  # Header (magic, 16, version 1.0, one entry), the entry (an image of
  # nominal size 24 at byte 28), the image (36, its type and size again,
  # version 1, 1x1, hotspot 0,0, no delay) and its one ARGB pixel, 0.
  printf 'Xcur\x10\0\0\0\0\0\1\0\1\0\0\0''\2\0\375\377\30\0\0\0\34\0\0\0''\44\0\0\0\2\0\375\377\30\0\0\0\1\0\0\0''\1\0\0\0\1\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0''\0\0\0\0' \
    >"$dir/left_ptr"
  # The names weston's shell and Qt ask for, the arrow's first.
  for name in default arrow top_left_arrow left_arrow left-arrow xterm text ibeam pointer hand2 pointing_hand; do
    ln -sf left_ptr "$dir/$name"
  done
}

start_weston() {
  local backend=$1
  weston_width=$2 weston_height=$3
  shift 3
  export XDG_RUNTIME_DIR=$work/run
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  clear_cursor_theme "$work/cursors"
  export XCURSOR_PATH=$work/cursors XCURSOR_THEME=clear
  if [[ $backend == x11 ]]; then
    # weston's X11 backend follows the X pointer by its moves since the
    # last time the pointer entered its window. A window mapped under the
    # pointer starts that count from the wrong place (seen: the pointer
    # moved to the output's far corner and weston drawing it at 0,0), so
    # the pointer waits outside, and its first move in is a true entry.
    local screen_width screen_height
    read -r screen_width screen_height < <(xwininfo -root | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
    ((screen_width > weston_width || screen_height > weston_height)) ||
      fail "weston's window ${weston_width}x${weston_height} leaves no room for the pointer on the X screen"
    xdotool mousemove $((screen_width - 1)) $((screen_height - 1))
  fi
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
  socket=weston-$$
  weston --backend="$backend-backend.so" --use-pixman --width="$weston_width" --height="$weston_height" \
    --socket="$socket" --config="$work/weston.ini" "$@" >"$work/weston.log" 2>&1 &
  track $!
  for _ in $(seq 100); do [[ -S $XDG_RUNTIME_DIR/$socket ]] && break; sleep 0.1; done
  [[ -S $XDG_RUNTIME_DIR/$socket ]] || fail "weston did not start: $(tail -5 "$work/weston.log")"
  [[ $backend == x11 ]] || return 0
  ox= oy=
  for _ in $(seq 50); do
    read -r ox oy < <(xwininfo -root -children | awk '/"Weston Compositor/ { split($NF, at, "+"); print at[2], at[3] }') || true
    [[ -n $ox ]] && return 0
    sleep 0.1
  done
  fail "weston's output window did not appear: $(tail -5 "$work/weston.log")"
}

# weston's pointer draws nothing (start_weston), wherever weston has it.
weston_window_box() {
  import -window root -crop "${weston_width}x${weston_height}+${ox}+${oy}" +repage "$work/output.png"
  convert "$work/output.png" -fill black -fuzz 2% -opaque '#FF00FF' -fill white +opaque black \
    -trim -format '%X %Y %w %h' info: | tr -d '+'
}

wait_for_weston_window() {
  local box= w=0
  for _ in $(seq 100); do
    box=$(weston_window_box 2>/dev/null || true)
    read -r wx wy w _ <<<"${box:-0 0 0 0}"
    ((w == 574)) && break
    kill -0 "$app" 2>/dev/null || fail "the program ended early: $(cat "$work/program.log")"
    sleep 0.1
  done
  ((w == 574)) || fail "the window did not show in weston ($box)"
  # Shown is not yet ready for the pointer and the keys.
  sleep 0.5
}

window_shot() {
  local x y w h
  read -r x y w h < <(geometry)
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$1"
}

start_openbox() {
  openbox >"$work/openbox.log" 2>&1 &
  track $!
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0; sleep 0.1; done
  fail "openbox did not start: $(cat "$work/openbox.log")"
}

# The command line of the launcher; see the top of this file.
run_on_display() {
  local screen=1024x768x24 bus=false
  while [[ $# -gt 0 ]]; do
    case $1 in
      --screen) screen=$2; shift 2 ;;
      --bus) bus=true; shift ;;
      --) shift; break ;;
      *) echo "display_session: unknown option '$1'" >&2; return 2 ;;
    esac
  done
  [[ $# -gt 0 ]] || { echo "display_session: no command after --" >&2; return 2; }
  session "display_session"
  start_xvfb "$screen"
  local status=0
  if $bus; then
    dbus-run-session -- "$@" || status=$?
  else
    "$@" || status=$?
  fi
  return "$status"
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -euo pipefail
  run_on_display "$@"
fi
