#!/usr/bin/env bash
# README's test command on a Debian release, in a fresh system made for the
# run: debootstrap makes a minimal system of that release from the archive
# this machine's apt uses, the last commit is cloned into it and
# scripts/test.sh installs, builds and tests there as on a new machine. Then
# the package built there goes through scripts/clean-install-check.sh on
# another fresh system of the same release.
#   scripts/test-on-debian.sh bookworm|trixie|testing|unstable
# Tests what is committed (HEAD), not the working tree. Needs root (or sudo)
# and the Debian archive; nothing is kept between runs. Prints the compiler,
# CMake and Qt it built with and how long each step took.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A names=([bookworm]="Debian 12" [trixie]="Debian 13" [testing]="Debian testing" [unstable]="Debian unstable")
release=${1:-}
if [[ -z $release || -z ${names[$release]:-} ]]; then
  echo "usage: scripts/test-on-debian.sh bookworm|trixie|testing|unstable" >&2
  exit 2
fi
name=${names[$release]}

if [[ $(id -u) -ne 0 ]]; then
  exec sudo --preserve-env=CI "$0" "$@"
fi

source scripts/debian-system.sh
work=$(mktemp -d "/var/tmp/debian-$release.XXXXXX")
root=$work/root
cleanup() {
  system_remove "$root" || return 0
  rm -rf "$work"
}
trap cleanup EXIT

seconds() { date +%s; }
started=$(seconds)
system_make "$release" "$root"
system_mount "$root"
git clone -q --no-hardlinks "$PWD" "$root/src/qinghe-taxcalc"
made=$(seconds)

echo "== scripts/test.sh on $name"
system_run "$root" bash -c 'cd /src/qinghe-taxcalc && scripts/test.sh'
tested=$(seconds)
tools=$(system_run "$root" bash -c 'echo "$(c++ --version | head -n1), $(cmake --version | head -n1),
  Qt $(dpkg-query -W -f="\${Version}\n" qt6-base-dev | head -n1)"' | tr -s ' \n' ' ')

echo "== the $name package"
system_run "$root" bash -c 'cd /src/qinghe-taxcalc && cpack -G DEB --config build/CPackConfig.cmake -B /tmp/package' \
  >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; exit 1; }
cp "$root"/tmp/package/*.deb "$work/"
scripts/clean-install-check.sh --release "$release" "$work"/*.deb
checked=$(seconds)

echo "$name: $tools"
echo "$name: system $((made - started)) s, scripts/test.sh $((tested - made)) s," \
  "package check $((checked - tested)) s, in all $((checked - started)) s"
