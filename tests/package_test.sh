#!/usr/bin/env bash
# Makes the Debian package from a built tree into a scratch directory and
# checks its control fields, its files and that apt can resolve it here:
#   package_test.sh <cpack> <build dir> <version>
# Nothing is installed.
set -euo pipefail

cpack=$1
build=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
  || fail "cpack failed: $(cat "$work/cpack.log")"
debs=("$work"/*.deb)
((${#debs[@]} == 1)) && [[ -f ${debs[0]} ]] || fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}
[[ $(basename "$deb") == "qinghe-taxcalc_${version}_$(dpkg --print-architecture).deb" ]] \
  || fail "file name $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == qinghe-taxcalc ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version)"
[[ $(field Section) == utils ]] || fail "Section: $(field Section)"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
[[ -n $(field Description) ]] || fail "no Description"
depends=$(field Depends)
for needed in libqt6widgets6 libjpeg62-turbo libfontconfig1 fonts-arphic-gbsn00lp; do
  [[ ",$depends," =~ [,\ ]$needed[\ ,] ]] || fail "Depends lacks $needed: $depends"
done

[[ $(field Recommends) == qt6-wayland ]] || fail "Recommends: $(field Recommends)"

dpkg-deb -c "$deb" | awk '{print $NF}' >"$work/files"
for file in ./usr/bin/qinghe-taxcalc \
  ./usr/share/applications/cn.qinghe.TaxCalc.desktop \
  ./usr/share/metainfo/cn.qinghe.TaxCalc.metainfo.xml \
  ./usr/share/icons/hicolor/32x32/apps/cn.qinghe.TaxCalc.png \
  ./usr/share/icons/hicolor/64x64/apps/cn.qinghe.TaxCalc.png \
  ./usr/share/icons/hicolor/128x128/apps/cn.qinghe.TaxCalc.png; do
  grep -qxF "$file" "$work/files" || fail "$file is not in the package"
done
# The developers' files come with cmake --install, not with the program.
! grep -E '/include/|\.a$|/cmake/' "$work/files" || fail "developer files in the package"

dpkg-deb -x "$deb" "$work/root"
# A RelWithDebInfo build is packaged: the debug sections must be stripped.
! readelf -S --wide "$work/root/usr/bin/qinghe-taxcalc" | grep -q '\.debug_info' \
  || fail "the packaged program still carries its debug information"

apt-get install --simulate "$deb" >"$work/apt.log" 2>&1 || fail "apt cannot resolve it: $(cat "$work/apt.log")"
grep -q '^Inst qinghe-taxcalc ' "$work/apt.log" || fail "apt would not install it: $(cat "$work/apt.log")"
echo "package: $(basename "$deb"), Depends: $depends"
