#!/usr/bin/env bash
# Runs the real program the way a shell script uses it as a picker, under an
# X server of its own with real key and mouse events:
#   picker_program.sh <qinghe-taxcalc>
# Standard output carries the picked number alone and the status tells the
# outcome (0 picked, 1 closed, 2 a wrong command line, 3 no display);
# --attach makes the picker a dialog of another client's window,
# --print-tape prints the tape when the window closes, and --rate sets the
# rate the window starts at.
set -euo pipefail

program=$1
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session picker
start_xvfb 1024x768x24

# Where a tape line's middle is, from the window's top left: the tape's text
# starts 35 pixels down, a line is 12 pixels high.
tape_line_y() { echo $((35 + 12 * $1 + 6)); }

# double_click_tape <y>: a left double click on the tape at <y> in the window.
double_click_tape() {
  read -r x y _ _ < <(geometry)
  xdotool mousemove $((x + 100)) $((y + $1)) click --repeat 2 --delay 80 1
}

# keys <key>...: typed into the window, as xdotool names them.
keys() {
  xdotool windowfocus --sync "$window"
  xdotool key --delay 60 "$@"
}

# expect <what> <status> <standard output>
expect() {
  local what=$1 expected_status=$2 expected_out=$3
  [[ $status == "$expected_status" ]] || fail "$what: status $status, expected $expected_status; stderr: $(cat "$work/program.log")"
  [[ $(cat "$work/program.out") == "$expected_out" ]] || fail "$what: printed '$(cat "$work/program.out")', expected '$expected_out'"
  # $(...) drops the final line feed; the bytes show it is there.
  if [[ -n $expected_out ]]; then
    [[ $(tail -c1 "$work/program.out" | od -An -c | tr -d ' ') == '\n' ]] || fail "$what: no line feed after the output"
  fi
  echo "picker: $what: stdout '$(cat "$work/program.out")', status $status"
}

# Qt's debug output is switched on: none of it may reach standard output.
start_caller QT_LOGGING_RULES='*.debug=true' "$program" --pick 100
wait_for_window "--pick 100"
keys KP_Add 2 0 Return
# Below the last line: the pick-up takes the selected line, the result.
double_click_tape "$(tape_line_y 6)"
wait_for_exit "a double click below the last line"
expect "--pick 100, + 2 0 Enter, double click below the tape" 0 120
[[ -s $work/program.log ]] || fail "Qt's debug output did not reach standard error"

start_caller "$program" --pick 7.5
wait_for_window "--pick 7.5"
keys KP_Add 1 Return
double_click_tape "$(tape_line_y 0)"
wait_for_exit "a double click on the first line"
expect "--pick 7.5, + 1 Enter, double click on the first line" 0 7.5

# A number from the tape's other line kinds, in the tape's own form.
start_caller "$program" --pick -- -3
wait_for_window "--pick -- -3"
keys KP_Divide 4 0 0 Return
double_click_tape "$(tape_line_y 3)"
wait_for_exit "a double click on a result"
expect "--pick -- -3, / 4 0 0 Enter, double click on the result" 0 -0.0075

start_caller "$program" --pick 5
wait_for_window "--pick 5"
keys Escape
wait_for_exit Escape
expect "--pick 5, Escape" 1 ""

# A line without a number picks nothing and the picker stays open.
start_caller "$program" --pick
wait_for_window "--pick"
keys KP_Add
double_click_tape "$(tape_line_y 1)"
sleep 0.5
kill -0 "$app" 2>/dev/null || fail "a double click on the lone operator line ended the picker"
keys alt+r
wait_for_exit Alt+R
expect "--pick, +, double click on the operator line, Alt+R" 1 ""

# Only the left button acts: right and middle double clicks on the title,
# the rate label and a tape line neither close the picker nor pick, and a
# right press selects no line. Alt+R then closes it: status 1, nothing picked.
start_caller "$program" --pick 100
wait_for_window "--pick 100, other buttons"
keys KP_Add 2 0 Return
read -r x y _ _ < <(geometry)
for button in 3 2; do
  for at in "60 20" "470 22" "100 $(tape_line_y 0)"; do
    read -r dx dy <<<"$at"
    xdotool mousemove $((x + dx)) $((y + dy)) click --repeat 2 --delay 80 "$button"
    sleep 0.3
    kill -0 "$app" 2>/dev/null || fail "a double click of button $button at $at ended the picker"
  done
done
# The result line is still the selected one: a left double click below the
# tape picks it, not the first line the right button pressed on.
double_click_tape "$(tape_line_y 6)"
wait_for_exit "other buttons, then a left double click below the tape"
expect "--pick 100, + 2 0 Enter, right and middle double clicks, left double click below the tape" 0 120

start_caller "$program" --pick 5
wait_for_window "--pick 5"
read -r x y _ _ < <(geometry)
xdotool mousemove $((x + 529)) $((y + 160)) click 1
wait_for_exit "a click on 返  回"
expect "--pick 5, click on 返  回" 1 ""

start=$(date +%s%N)
start_caller "$program" --pick abc
wait_for_exit "--pick abc"
elapsed=$((($(date +%s%N) - start) / 1000000))
expect "--pick abc" 2 ""
# At once: before Qt or a display is touched.
((elapsed < 5000)) || fail "--pick abc took ${elapsed} ms"
[[ $(wc -l <"$work/program.log") == 1 ]] || fail "--pick abc said more than one line: $(cat "$work/program.log")"
[[ -z $(xdotool search --name '^青禾税率计算器$' 2>/dev/null || true) ]] || fail "--pick abc opened a window"

start_caller -u DISPLAY "$program" --pick 5
wait_for_exit "no display"
expect "--pick 5 without a display" 3 ""

# The picker as a dialog of another program's window, centred on it.
xmessage -geometry 400x300+300+200 -name parent "a program that asks for an amount" >/dev/null 2>&1 &
track $!
parent=
for _ in $(seq 100); do
  parent=$(xdotool search --onlyvisible --classname '^parent$' 2>/dev/null | head -n1 || true)
  [[ -n $parent ]] && break
  sleep 0.1
done
[[ -n $parent ]] || fail "xmessage did not open its window"
start_caller "$program" --pick 42 --attach "$parent"
wait_for_window "--attach"
transient=$(xprop -id "$window" WM_TRANSIENT_FOR)
[[ $transient == "WM_TRANSIENT_FOR(WINDOW): window id # $(printf '0x%x' "$parent")" ]] \
  || fail "--attach $parent: $transient"
# 400 x 300 inside a one-pixel border at 300,200 has its middle at 501,351;
# the picker is 574 x 250.
[[ $(geometry) == "214 226 574 250" ]] || fail "--attach: the picker is at $(geometry), not centred on 300,200 400 x 300"
keys Escape
wait_for_exit "Escape after --attach"
expect "--pick 42 --attach $parent ($transient), Escape" 1 ""
! grep -q -- --attach "$work/program.log" || fail "--attach said: $(cat "$work/program.log")"

start_caller "$program" --pick 42 --attach 0x3ffffff
wait_for_window "--attach to no window"
[[ $(geometry) == "182 175 574 250" ]] || fail "--attach to no window: the picker is at $(geometry)"
keys Escape
wait_for_exit "Escape after --attach to no window"
expect "--pick 42 --attach 0x3ffffff, Escape" 1 ""
grep -qxF "qinghe-taxcalc: --attach: there is no window 0x3ffffff; the window opens on its own" "$work/program.log" \
  || fail "--attach to no window said: $(cat "$work/program.log")"

start_caller "$program" --print-tape
wait_for_window "--print-tape"
keys 1 2 KP_Add 3 0 Return Escape
wait_for_exit "Escape with --print-tape"
expected_tape="                       12
＋                     30
－－－－－－－－－－－－－－－
结果                   42"
expect "--print-tape, 1 2 + 3 0 Enter, Escape" 0 "$expected_tape"

# --rate: the window starts at that rate and its reports use it; without
# it, at 17 %. 1 0 0 Alt+B is the price report of 100.
price_report() {
  printf '%s\n' "－－－－－－－－－－－－－－－" " 不含税价：100.00" " 税率：     $1" " 税金：    $2" " 价税合计：$3" \
    "－－－－－－－－－－－－－－－"
}
for rate in 13 ""; do
  start_caller "$program" ${rate:+--rate "$rate"} --print-tape
  wait_for_window "--rate $rate --print-tape"
  keys 1 0 0 alt+b Escape
  wait_for_exit "Escape with --rate $rate --print-tape"
  if [[ -n $rate ]]; then
    expect "--rate 13 --print-tape, 1 0 0 Alt+B, Escape" 0 "$(price_report 13.00% 13.00 113.00)"
  else
    expect "--print-tape, 1 0 0 Alt+B, Escape" 0 "$(price_report 17.00% 17.00 117.00)"
  fi
done

# The picker at a rate: the tax of 1000 at 13 %, picked from its report.
start_caller "$program" --pick 1000 --rate 13
wait_for_window "--pick 1000 --rate 13"
keys alt+b
double_click_tape "$(tape_line_y 3)"
wait_for_exit "a double click on the tax line"
expect "--pick 1000 --rate 13, Alt+B, double click on the tax line" 0 130

# A rate out of range: one line, status 2 and no window, as for --pick abc.
for rate in 100 abc; do
  start_caller "$program" --rate "$rate"
  wait_for_exit "--rate $rate"
  expect "--rate $rate" 2 ""
  [[ $(wc -l <"$work/program.log") == 1 ]] || fail "--rate $rate said more than one line: $(cat "$work/program.log")"
  [[ -z $(xdotool search --name '^青禾税率计算器$' 2>/dev/null || true) ]] || fail "--rate $rate opened a window"
done

# The window manager's close (Alt+F4 in openbox) is a close like any other.
if command -v openbox >/dev/null; then
  start_openbox
  start_caller "$program" --pick 5
  wait_for_window "--pick 5 under openbox"
  xdotool windowactivate --sync "$window"
  xdotool key alt+F4
  wait_for_exit "the window manager's close"
  expect "--pick 5 under openbox, the window manager's close (Alt+F4)" 1 ""
fi
