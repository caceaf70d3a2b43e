#!/usr/bin/env bash
# Runs each action of the launcher entry as a desktop runs it, under an X
# server of its own, and checks that the window opens at the action's rate:
#   desktop_actions.sh <qinghe-taxcalc> <desktop entry> <python3 with GObject introspection>
# GLib's Gio.DesktopAppInfo, which GNOME and the GTK desktops launch with,
# reads the entry, expands the action's Exec line and starts the program it
# names from PATH. There that name is a stand-in that runs the program under
# test with the same arguments and --print-tape, so the tape tells the rate.
set -euo pipefail

program=$(realpath "$1")
entry=$(realpath "$2")
python=$3
source "$(dirname "${BASH_SOURCE[0]}")/display_session.sh"
session "desktop actions"
start_xvfb 1024x768x24

mkdir "$work/bin"
cat >"$work/bin/qinghe-taxcalc" <<STANDIN
#!/bin/sh
printf '%s\n' "\$@" >"$work/arguments"
"$program" "\$@" --print-tape >"$work/program.out" 2>"$work/program.log"
echo \$? >"$work/status"
STANDIN
chmod +x "$work/bin/qinghe-taxcalc"

# entry_info list | name <action> | launch <action>: the entry's actions, an
# action's name in the language of LC_ALL, or GLib starts the action.
cat >"$work/entry_info.py" <<'PYTHON'
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio

entry, request = sys.argv[1], sys.argv[2]
info = Gio.DesktopAppInfo.new_from_filename(entry)
if info is None:
    sys.exit(f"GLib does not take {entry}")
if request == "list":
    print(" ".join(info.list_actions()))
elif request == "name":
    print(info.get_action_name(sys.argv[3]))
else:
    info.launch_action(sys.argv[3], None)
PYTHON
entry_info() { PATH=$work/bin:$PATH LC_ALL=${language:-C.UTF-8} "$python" "$work/entry_info.py" "$entry" "$@"; }

actions=$(entry_info list)
[[ $actions == "rate-13 rate-9 rate-6 rate-3" ]] || fail "the entry's actions are '$actions'"

for action in $actions; do
  rate=${action#rate-}
  name=$(entry_info name "$action")
  [[ $name == "Tax rate $rate%" ]] || fail "$action is named '$name'"
  chinese=$(language=zh_CN.UTF-8 entry_info name "$action")
  [[ $chinese == "税率 $rate%" ]] || fail "$action is named '$chinese' in Chinese"

  rm -f "$work/status" "$work/arguments"
  entry_info launch "$action"
  window=
  for _ in $(seq 150); do
    window=$(LC_ALL=C.UTF-8 xdotool search --onlyvisible --name '^青禾税率计算器$' 2>/dev/null | head -n1 || true)
    [[ -n $window ]] && break
    [[ ! -e $work/status ]] || fail "$action: the program ended early: $(cat "$work/program.log")"
    sleep 0.1
  done
  [[ -n $window ]] || fail "$action: no window appeared"
  [[ $(cat "$work/arguments") == $'--rate\n'"$rate" ]] || fail "$action: the program was given $(cat "$work/arguments")"
  xdotool windowfocus --sync "$window"
  xdotool key --delay 60 1 0 0 alt+b Escape
  for _ in $(seq 100); do [[ -e $work/status ]] && break; sleep 0.1; done
  [[ $(cat "$work/status" 2>/dev/null) == 0 ]] || fail "$action: the program did not end with 0: $(cat "$work/program.log")"

  # 1 0 0 Alt+B: the price report of 100 at the action's rate.
  mapfile -t tape <"$work/program.out"
  [[ ${tape[2]:-} == " 税率：     $rate.00%" && ${tape[3]:-} == " 税金：    $rate.00" &&
    ${tape[4]:-} == " 价税合计：$((100 + rate)).00" ]] \
    || fail "$action: 1 0 0 Alt+B wrote: $(cat "$work/program.out")"
  echo "desktop actions: $action ('$name', '$chinese'): qinghe-taxcalc $(paste -sd' ' "$work/arguments"):" \
    "$(sed -n 3,5p "$work/program.out" | tr -s ' ' | paste -sd,)"
done
