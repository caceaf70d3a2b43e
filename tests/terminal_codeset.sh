#!/usr/bin/env bash
# Under glibc's zh_CN, a GB2312 locale whose name does not say so, --help and
# a refused command line are written in GB2312, as a terminal of that locale
# reads them: the same texts as under zh_CN.UTF-8, converted.
#   terminal_codeset.sh <qinghe-taxcalc>
# The locale is compiled into a directory of the test's own, named by
# LOCPATH, which needs no root. Without glibc's locale sources (Debian's
# package locales) it cannot be, and the test says it is skipped (77).
set -euo pipefail

program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "terminal codeset: $*" >&2
  exit 1
}

if ! command -v localedef >/dev/null || [[ ! -f /usr/share/i18n/locales/zh_CN ]]; then
  echo "terminal codeset: no locale sources (/usr/share/i18n/locales/zh_CN) to make zh_CN from; skipped"
  exit 77
fi
# localedef ends with 1 on warnings of the sources, the locale made all the same.
localedef -i zh_CN -f GB2312 "$work/zh_CN" >"$work/localedef.log" 2>&1 || true
[[ -f $work/zh_CN/LC_CTYPE ]] || fail "localedef made no zh_CN: $(cat "$work/localedef.log")"

# Only the locale decides: nothing of the caller's environment.
run() { env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LC_CTYPE LOCPATH="$work" "$@"; }

run LANG=zh_CN "$program" --help >"$work/help" || fail "--help ended with $?"
# 用法 ("Usage") in GB2312, where UTF-8 would start with 347 224 250.
[[ $(head -c 4 "$work/help" | od -An -tx1 | tr -d ' \n') == d3c3b7a8 ]] ||
  fail "--help starts with $(head -c 4 "$work/help" | od -An -to1), not GB2312's 323 303 267 250"
run LANG=zh_CN.UTF-8 "$program" --help | iconv -f UTF-8 -t GB2312 >"$work/help.expected"
cmp -s "$work/help" "$work/help.expected" || fail "--help under zh_CN is not the Chinese help in GB2312"

status=0
run LANG=zh_CN "$program" --frob 2>"$work/refusal" || status=$?
[[ $status == 2 ]] || fail "--frob ended with $status, not 2"
run LANG=zh_CN.UTF-8 "$program" --frob 2>&1 | iconv -f UTF-8 -t GB2312 >"$work/refusal.expected" || true
[[ -s $work/refusal.expected ]] || fail "no refusal under zh_CN.UTF-8"
cmp -s "$work/refusal" "$work/refusal.expected" ||
  fail "the refusal under zh_CN is not the Chinese one in GB2312: $(od -An -c "$work/refusal" | head -n 2)"
echo "terminal codeset: --help and a refusal under zh_CN (GB2312) are GB2312"
