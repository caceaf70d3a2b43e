#!/usr/bin/env bash
# The manual pages, English and Chinese, as man and groff read them:
#   manual_pages_test.sh <qinghe-taxcalc> <data dir>
# Both render without a single warning (groff -ww, man --warnings), name
# every option that --help of their language names, and list the four exit
# statuses. GROFF_NO_SGR: groff 1.23 (Debian 13) otherwise writes bold and
# underline as escape sequences, which col -b keeps. The page is read by its
# own indentation, not by columns: a section's text starts 7 columns in up
# to groff 1.23 and 5 from groff 1.24 on.
set -euo pipefail

program=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "manual pages: $*" >&2; exit 1; }

# check <page> <LANG for --help> <exit status heading>
check() {
  local page=$1 lang=$2 heading=$3 name indent
  name=$(basename "$page")
  groff -ww -k -man -Tutf8 -z "$page" 2>"$work/groff.log" || fail "groff cannot read $name: $(cat "$work/groff.log")"
  [[ ! -s $work/groff.log ]] || fail "groff -ww warns about $name: $(cat "$work/groff.log")"
  LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 GROFF_NO_SGR=1 man --warnings -E UTF-8 -l -Tutf8 "$page" 2>"$work/man.log" |
    col -bx >"$work/page.txt" || fail "man cannot read $name: $(cat "$work/man.log")"
  [[ ! -s $work/man.log ]] || fail "man warns about $name: $(cat "$work/man.log")"

  env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$lang" "$program" --help >"$work/help.txt"
  for option in $(grep -oE -- '--[a-z][a-z-]*' "$work/help.txt" | sort -u); do
    grep -qF -- "$option" "$work/page.txt" || fail "$name does not name $option, which --help names"
  done
  # A tagged paragraph's tag stands at the section's indentation, that of
  # the first line of the first section, with its text on the same line.
  indent=$(awk '/^ +[^ ]/ { match($0, /^ +/); print RLENGTH; exit }' "$work/page.txt")
  [[ -n $indent ]] || fail "$name renders no indented text"
  grep -qE "^ {$indent}-- {2,}[^ ]" "$work/page.txt" || fail "$name does not explain --"
  # The section of exit statuses lists 0 to 3, each as a tagged paragraph.
  sed -n "/^$heading\$/,/^[^ ]/p" "$work/page.txt" | grep -oE "^ {$indent}[0-9] " | tr -d ' ' | paste -sd, >"$work/statuses"
  [[ $(cat "$work/statuses") == 0,1,2,3 ]] || fail "$name lists the exit statuses $(cat "$work/statuses")"
  echo "manual pages: $name renders without a warning and names $(grep -oE -- '--[a-z][a-z-]*' "$work/help.txt" | sort -u | paste -sd' ')"
}

check "$data/qinghe-taxcalc.1" C.UTF-8 'EXIT STATUS'
check "$data/qinghe-taxcalc.zh_CN.1" zh_CN.UTF-8 '退出状态'
