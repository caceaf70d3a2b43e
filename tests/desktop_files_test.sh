#!/usr/bin/env bash
# Checks the launcher entry and the AppStream description with the
# freedesktop validators, and what they promise against the program:
#   desktop_files_test.sh <data dir> <built metainfo> <web address or ""> <version>
#                         <desktop-file-validate> <appstreamcli>
set -euo pipefail

data=$1
metainfo=$2
web_url=$3
version=$4
desktop_validate=$5
appstream=$6
id=cn.qinghe.TaxCalc
desktop=$data/$id.desktop
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "desktop files: $*" >&2; exit 1; }

"$desktop_validate" "$desktop" || fail "$desktop is not a valid desktop entry"

# validate <file> <allowed warning>...: appstreamcli finds no error and no
# warning but those named. Older versions pass a description without a
# homepage; newer ones warn url-homepage-missing, which is allowed where the
# build has no web address to name (the package's lintian override says so).
validate() {
  local file=$1
  shift
  "$appstream" validate --no-net "$file" >"$work/validate.log" 2>&1 || true
  local problems
  problems=$(grep -E '^[EW]: ' "$work/validate.log" || true)
  for allowed in "$@"; do problems=$(grep -v -- ": $allowed\b" <<<"$problems" || true); done
  [[ -z $problems ]] || fail "$file is not valid AppStream metadata: $(cat "$work/validate.log")"
  grep -qE 'Validation was successful|url-homepage-missing' "$work/validate.log" \
    || fail "appstreamcli did not validate $file: $(cat "$work/validate.log")"
}
if [[ -z $web_url ]]; then
  validate "$metainfo" url-homepage-missing
  ! grep -q '<url type="homepage">\|<screenshots>' "$metainfo" || fail "a homepage or screenshot with no web address"
else
  validate "$metainfo"
fi
# With a web address the homepage and the screenshot are there, and valid.
cmake -DIN="$data/$id.metainfo.xml.in" -DOUT="$work/web.xml" -DWEB_URL=https://example.org/qinghe-taxcalc \
  -P "$data/Metainfo.cmake"
validate "$work/web.xml"
grep -qF '<url type="homepage">https://example.org/qinghe-taxcalc</url>' "$work/web.xml" || fail "no homepage"
grep -qF '>https://example.org/qinghe-taxcalc/docs/screenshot.png</image>' "$work/web.xml" \
  || fail "the screenshot is not docs/screenshot.png"
for lang in "" ' xml:lang="zh_CN"'; do
  for tag in summary p caption; do
    grep -q "<$tag$lang>" "$work/web.xml" || fail "no <$tag$lang> in the description"
  done
done
grep -q '<developer id="[a-z.]*">' "$work/web.xml" && grep -q '<name xml:lang="zh_CN">' "$work/web.xml" \
  || fail "no developer with an id and a Chinese name"

# group_key <group> <key>: the key's value in [<group>]; key <key>: in [Desktop Entry].
group_key() { awk -v group="[$1]" -v key="$2" '/^\[/ { in_group = $0 == group; next }
  in_group && index($0, key "=") == 1 { print substr($0, length(key) + 2) }' "$desktop"; }
key() { group_key "Desktop Entry" "$1"; }
[[ $(key Name) == "青禾税率计算器" ]] || fail "Name=$(key Name)"
[[ $(key Exec) == qinghe-taxcalc ]] || fail "Exec=$(key Exec)"
[[ $(key Icon) == "$id" ]] || fail "Icon=$(key Icon): the icons are installed as $id.png"
[[ ";$(key Categories)" == *";Utility;"* && ";$(key Categories)" == *";Calculator;"* ]] \
  || fail "Categories=$(key Categories)"
# The common rates on the launcher's menu, each an action that opens the
# window at its rate, named in English and in Chinese.
[[ $(key Actions) == "rate-13;rate-9;rate-6;rate-3;" ]] || fail "Actions=$(key Actions)"
for rate in 13 9 6 3; do
  group="Desktop Action rate-$rate"
  [[ $(group_key "$group" Name) == "Tax rate $rate%" ]] || fail "[$group] Name=$(group_key "$group" Name)"
  [[ $(group_key "$group" 'Name[zh_CN]') == "税率 $rate%" ]] || fail "[$group] Name[zh_CN]=$(group_key "$group" 'Name[zh_CN]')"
  [[ $(group_key "$group" Exec) == "qinghe-taxcalc --rate $rate" ]] || fail "[$group] Exec=$(group_key "$group" Exec)"
done

grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
  || fail "the metainfo does not launch $id.desktop"
grep -qF "<binary>qinghe-taxcalc</binary>" "$metainfo" || fail "the metainfo does not provide the program"
# The newest release comes first and is the version being built.
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n1 | cut -d'"' -f2)
[[ $newest == "$version" ]] || fail "newest release in the metainfo is $newest, the project is $version"
echo "desktop files: $id.desktop (actions $(key Actions)) and $id.metainfo.xml valid, release $version"
