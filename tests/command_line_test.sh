#!/usr/bin/env bash
# The real program's answers without a window, with no display at all:
#   command_line_test.sh <qinghe-taxcalc>
# --help and --version print and end with 0; an unknown option or an argument
# prints one line and the usage and ends with 2; no display, or one that
# cannot be opened, prints one plain line and ends with 1, never by a signal.
set -euo pipefail

program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "command line: $*" >&2; exit 1; }

# run <expected status> <arguments>...: runs with no display, output in $work.
run() {
  local expected=$1 status=0
  shift
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE "${extra_env[@]}" \
    timeout 20 "$program" "$@" >"$work/out" 2>"$work/err" || status=$?
  ((status == expected)) || fail "'$*' ended with $status, expected $expected; stderr: $(cat "$work/err")"
}
extra_env=()

run 0 --help
head -n1 "$work/out" | grep -qx 'Usage: qinghe-taxcalc \[OPTION\]...' || fail "--help printed: $(cat "$work/out")"
grep -q -- '--version' "$work/out" || fail "--help does not name --version"
[[ ! -s $work/err ]] || fail "--help wrote to stderr: $(cat "$work/err")"

run 0 --version
head -n1 "$work/out" | grep -qxE 'qinghe-taxcalc [0-9]+\.[0-9]+\.[0-9]+' || fail "--version printed: $(cat "$work/out")"

run 2 --frob
[[ $(head -n1 "$work/err") == "qinghe-taxcalc: unknown option '--frob'" ]] || fail "--frob said: $(cat "$work/err")"
[[ $(sed -n 2p "$work/err") == 'Usage: qinghe-taxcalc [OPTION]...' ]] || fail "--frob gave no usage: $(cat "$work/err")"
[[ ! -s $work/out ]] || fail "--frob wrote to stdout"

run 2 sums.txt
[[ $(head -n1 "$work/err") == "qinghe-taxcalc: unexpected argument 'sums.txt'" ]] || fail "an argument: $(cat "$work/err")"

run 1
[[ $(cat "$work/err") == "qinghe-taxcalc: no display could be opened: neither DISPLAY nor WAYLAND_DISPLAY is set" ]] \
  || fail "no display said: $(cat "$work/err")"

# A display that is named but not there: Qt itself finds out, and would abort.
extra_env=(DISPLAY=:7391)
run 1
[[ $(cat "$work/err") == 'qinghe-taxcalc: no display could be opened: DISPLAY is ":7391", WAYLAND_DISPLAY is not set' ]] \
  || fail "a wrong display said: $(cat "$work/err")"
extra_env=(DISPLAY=:7391)
run 1 -platform xcb -style Fusion
grep -q 'no display could be opened: -platform is "xcb"' "$work/err" || fail "-platform xcb said: $(cat "$work/err")"
echo "command line: --help, --version 0; unknown option, argument 2; no display, wrong display 1"
