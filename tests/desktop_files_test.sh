#!/usr/bin/env bash
# Checks the launcher entry and the AppStream description with the
# freedesktop validators, and what they promise against the program:
#   desktop_files_test.sh <data dir> <version> <desktop-file-validate> <appstreamcli>
set -euo pipefail

data=$1
version=$2
desktop_validate=$3
appstream=$4
id=cn.qinghe.TaxCalc
desktop=$data/$id.desktop
metainfo=$data/$id.metainfo.xml
fail() { echo "desktop files: $*" >&2; exit 1; }

"$desktop_validate" "$desktop" || fail "$desktop is not a valid desktop entry"
"$appstream" validate --no-net "$metainfo" || fail "$metainfo is not valid AppStream metadata"

key() { sed -n "s/^$1=//p" "$desktop"; }
[[ $(key Name) == "青禾税率计算器" ]] || fail "Name=$(key Name)"
[[ $(key Exec) == qinghe-taxcalc ]] || fail "Exec=$(key Exec)"
[[ $(key Icon) == "$id" ]] || fail "Icon=$(key Icon): the icons are installed as $id.png"
[[ ";$(key Categories)" == *";Utility;"* && ";$(key Categories)" == *";Calculator;"* ]] \
  || fail "Categories=$(key Categories)"

grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
  || fail "the metainfo does not launch $id.desktop"
grep -qF "<binary>qinghe-taxcalc</binary>" "$metainfo" || fail "the metainfo does not provide the program"
# The newest release comes first and is the version being built.
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n1 | cut -d'"' -f2)
[[ $newest == "$version" ]] || fail "newest release in the metainfo is $newest, the project is $version"
echo "desktop files: $id.desktop and $id.metainfo.xml valid, release $version"
