#!/usr/bin/env bash
# Makes the Debian package from a built tree into a scratch directory and
# checks its control fields, its files and that apt can resolve it here:
#   package_test.sh <cpack> <build dir> <version> <hardened: 1|0> [lintian]
# With lintian, the package must draw no error and no warning; a build with
# Debian's flags must also show them in the program. Nothing is installed.
set -euo pipefail

cpack=$1
build=$2
version=$3
hardened=$4
lintian=${5:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
  || fail "cpack failed: $(cat "$work/cpack.log")"
debs=("$work"/*.deb)
((${#debs[@]} == 1)) && [[ -f ${debs[0]} ]] || fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}
# The machine's architecture, or in a cross build the one the build is for.
arch=${DEB_HOST_ARCH:-$(dpkg --print-architecture)}
[[ $(basename "$deb") == "qinghe-taxcalc_${version}_${arch}.deb" ]] \
  || fail "file name $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == qinghe-taxcalc ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version)"
[[ $(field Section) == utils ]] || fail "Section: $(field Section)"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
[[ -n $(field Description) ]] || fail "no Description"
depends=$(field Depends)
depends_on() {
  local entries entry
  IFS=',' read -r -a entries <<<"$depends"
  for entry in "${entries[@]}"; do
    entry=${entry# }
    [[ ${entry%% *} == "$1" ]] && return 0
  done
  fail "Depends lacks $1: $depends"
}
depends_on fonts-arphic-gbsn00lp

[[ $(field Recommends) == qt6-wayland ]] || fail "Recommends: $(field Recommends)"

dpkg-deb -c "$deb" | awk '{print $NF}' >"$work/files"
for file in ./usr/bin/qinghe-taxcalc \
  ./usr/share/applications/cn.qinghe.TaxCalc.desktop \
  ./usr/share/metainfo/cn.qinghe.TaxCalc.metainfo.xml \
  ./usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128}/apps/cn.qinghe.TaxCalc.png \
  ./usr/share/icons/hicolor/scalable/apps/cn.qinghe.TaxCalc.svg \
  ./usr/share/doc/qinghe-taxcalc/copyright \
  ./usr/share/doc/qinghe-taxcalc/changelog.gz \
  ./usr/share/man/man1/qinghe-taxcalc.1.gz \
  ./usr/share/man/zh_CN/man1/qinghe-taxcalc.1.gz; do
  grep -qxF "$file" "$work/files" || fail "$file is not in the package"
done
# The developers' files come with cmake --install, not with the program.
! grep -E '/include/|\.a$|/cmake/' "$work/files" || fail "developer files in the package"

dpkg-deb -x "$deb" "$work/root"
# A RelWithDebInfo build is packaged: the debug sections must be stripped.
! readelf -S --wide "$work/root/usr/bin/qinghe-taxcalc" | grep -q '\.debug_info' \
  || fail "the packaged program still carries its debug information"

# Debian's documents: a machine-readable copyright, a changelog whose newest
# entry is this version, a manual page that man reads without a warning.
doc=$work/root/usr/share/doc/qinghe-taxcalc
[[ $(head -n1 "$doc/copyright") == "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ]] \
  || fail "the copyright file is not in the machine-readable format"
grep -qx 'License: MIT' "$doc/copyright" || fail "the copyright file does not name the MIT licence"
newest=$(zcat "$doc/changelog.gz" | head -n1)
[[ $newest == "qinghe-taxcalc ($version) "* ]] || fail "the changelog's newest entry is: $newest"
for page in "$work"/root/usr/share/man/{,zh_CN/}man1/qinghe-taxcalc.1.gz; do
  LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>"$work/man.log" >/dev/null \
    || fail "man cannot read ${page#"$work"/root}: $(cat "$work/man.log")"
  [[ ! -s $work/man.log ]] || fail "man warns about ${page#"$work"/root}: $(cat "$work/man.log")"
done
zcat "$work/root/usr/share/man/zh_CN/man1/qinghe-taxcalc.1.gz" | grep -q '^\.SH 退出状态$' \
  || fail "the Chinese manual page is not the Chinese one"

program=$work/root/usr/bin/qinghe-taxcalc
# The libraries' packages are worked out by dpkg-shlibdeps, so each release's
# package names that release's own: Depends holds the package of every
# library the program links, as installed here for the package's
# architecture (read from the program, so that a cross build's is checked
# too).
multiarch=$(dpkg-architecture -A "$arch" -qDEB_HOST_MULTIARCH 2>/dev/null)
readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' >"$work/needed"
owner() {
  local lib=$1 path found
  for path in "/usr/lib/$multiarch/$lib" "/lib/$multiarch/$lib"; do
    [[ -e $path ]] || continue
    found=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(realpath "$path")" 2>/dev/null) || continue
    echo "${found%%:*}"
    return 0
  done
  return 1
}
for lib in libQt6Widgets.so.6 libQt6Gui.so.6 libQt6Core.so.6 libjpeg.so.62 libstdc++.so.6; do
  grep -qxF "$lib" "$work/needed" || fail "the program does not link $lib"
  package=$(owner "$lib") || fail "no $arch package holds $lib"
  depends_on "$package"
done
# The lintian override stands only for a missing homepage, where this
# release's appstreamcli asks for one.
override=$work/root/usr/share/lintian/overrides/qinghe-taxcalc
validation=
if command -v appstreamcli >/dev/null; then
  validation=$(appstreamcli validate --no-net "$work/root/usr/share/metainfo/cn.qinghe.TaxCalc.metainfo.xml" 2>&1 || true)
fi
if [[ $validation == *url-homepage-missing* ]]; then
  grep -qx 'qinghe-taxcalc: appstream-metadata-validation-failed' "$override" 2>/dev/null \
    || fail "no lintian override for the missing homepage"
else
  [[ ! -e $override ]] || fail "a lintian override where appstreamcli asks for nothing"
fi
if [[ $hardened == 1 ]]; then
  readelf -d "$program" | grep -Eq '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' || fail "the program is not linked with -z now"
  readelf -lW "$program" | grep -q GNU_RELRO || fail "the program has no RELRO segment"
  nm -D --undefined-only "$program" >"$work/imports"
  grep -qw __stack_chk_fail "$work/imports" || fail "the program has no stack protector"
  grep -Eq '__[a-z_]+_chk(@|$)' "$work/imports" || fail "the program calls no fortified function"
fi

if [[ -n $lintian ]]; then
  # --fail-on cannot see the informational tags; the hardening ones count
  # for a hardened build.
  "$lintian" --display-info --fail-on error,warning "$deb" >"$work/lintian.log" 2>"$work/lintian.err" \
    || fail "lintian: $(cat "$work/lintian.log" "$work/lintian.err")"
  ! grep -E '^[EW]: ' "$work/lintian.log" || fail "lintian found errors or warnings"
  if [[ $hardened == 1 ]]; then
    ! grep -E 'hardening-' "$work/lintian.log" || fail "lintian finds the program not hardened"
  fi
fi

apt-get install --simulate "$deb" >"$work/apt.log" 2>&1 || fail "apt cannot resolve it: $(cat "$work/apt.log")"
# A foreign architecture's package is named with it: qinghe-taxcalc:arm64.
grep -Eq "^Inst qinghe-taxcalc(:$arch)? " "$work/apt.log" || fail "apt would not install it: $(cat "$work/apt.log")"
echo "package: $(basename "$deb"), Depends: $depends"
[[ -z $lintian ]] || echo "package: lintian: no error, no warning; $(grep -c '^I: ' "$work/lintian.log" || true) informational"
