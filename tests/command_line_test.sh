#!/usr/bin/env bash
# The real program's answers without a window, with no display at all:
#   command_line_test.sh <qinghe-taxcalc>
# --help and --version print and end with 0, --help in the user's language;
# an unknown option, an argument or a wrong number prints one line and ends
# with 2; no display, or one that cannot be opened, prints one plain line and
# ends with 3 in every mode, never by a signal.
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

# The language as gettext chooses it, in the terminal's codeset.
extra_env=(LANG=zh_CN.UTF-8)
run 0 --help
head -n1 "$work/out" | grep -qx '用法：qinghe-taxcalc \[选项\]...' || fail "--help in Chinese printed: $(head -n1 "$work/out")"
extra_env=(LANG=zh_CN.UTF-8 LANGUAGE=en_US:zh_CN)
run 0 --help
head -n1 "$work/out" | grep -q '^Usage: ' || fail "--help with LANGUAGE=en_US first printed: $(head -n1 "$work/out")"
extra_env=(LANG=zh_CN.UTF-8 LC_ALL=C)
run 0 --help
head -n1 "$work/out" | grep -q '^Usage: ' || fail "--help with LC_ALL=C printed: $(head -n1 "$work/out")"
extra_env=(LC_ALL=zh_CN.GBK)
run 0 --help
[[ $(head -n1 "$work/out" | iconv -f GBK -t UTF-8) == '用法：qinghe-taxcalc [选项]...' ]] \
  || fail "--help in a GBK locale printed: $(head -n1 "$work/out" | od -c | head -n2)"
extra_env=()

run 0 --version
head -n1 "$work/out" | grep -qxE 'qinghe-taxcalc [0-9]+\.[0-9]+\.[0-9]+' || fail "--version printed: $(cat "$work/out")"

# refused <arguments>... <message>: ends with 2, the message alone on stderr.
refused() {
  local message=${*: -1}
  run 2 "${@:1:$#-1}"
  [[ $(cat "$work/err") == "qinghe-taxcalc: $message; try 'qinghe-taxcalc --help'" ]] \
    || fail "'${*:1:$#-1}' said: $(cat "$work/err")"
  [[ ! -s $work/out ]] || fail "'${*:1:$#-1}' wrote to stdout"
}
refused --frob "unknown option '--frob'"
refused sums.txt "unexpected argument 'sums.txt'"
refused --pick abc "'abc' is not a number such as 12.5, -3 or 1.5E3"
refused --pick 1 2 "unexpected argument '2'"
refused --pick --print-tape "--print-tape cannot go with --pick: the picker prints the number alone"
refused --attach xyz "'xyz' is not a window id such as 0x2200007 or 35651591"
not_a_rate="is no rate for --rate: a number from 0 to under 100 such as 13, 6.5 or 1E1"
refused --rate 100 "'100' $not_a_rate"
refused --rate abc "'abc' $not_a_rate"
refused --pick 5 --rate=-1 "'-1' $not_a_rate"
extra_env=(LANG=zh_CN.UTF-8)
run 2 --frob
[[ $(cat "$work/err") == "qinghe-taxcalc: 未知选项“--frob”；用法见 qinghe-taxcalc --help" ]] || fail "--frob in Chinese said: $(cat "$work/err")"
run 2 --rate abc
[[ $(cat "$work/err") == "qinghe-taxcalc: “abc”不能作 --rate 的税率：税率是 0 到 100 之间（不含 100）的数，例如 13、6.5 或 1E1；用法见 qinghe-taxcalc --help" ]] \
  || fail "--rate abc in Chinese said: $(cat "$work/err")"
extra_env=()

no_display="qinghe-taxcalc: no display could be opened: neither DISPLAY nor WAYLAND_DISPLAY is set"
for mode in "" "--pick 5" "--print-tape" "--rate 13" "-- "; do
  # shellcheck disable=SC2086 # the mode's words
  run 3 $mode
  [[ $(cat "$work/err") == "$no_display" ]] || fail "no display, '$mode' said: $(cat "$work/err")"
  [[ ! -s $work/out ]] || fail "no display, '$mode' wrote to stdout"
done

# A display that is named but not there: Qt itself finds out, and would abort.
extra_env=(DISPLAY=:7391)
run 3 --pick 5
[[ $(cat "$work/err") == 'qinghe-taxcalc: no display could be opened: DISPLAY is ":7391", WAYLAND_DISPLAY is not set' ]] \
  || fail "a wrong display said: $(cat "$work/err")"
[[ ! -s $work/out ]] || fail "a wrong display wrote to stdout"
extra_env=(DISPLAY=:7391)
run 3 -platform xcb -style Fusion
grep -q 'no display could be opened: -platform is "xcb"' "$work/err" || fail "-platform xcb said: $(cat "$work/err")"
echo "command line: --help (English, Chinese, GBK), --version 0; refusals (--rate among them) 2, one line; no display, wrong display 3"
