#!/usr/bin/env bash
# README's test command on Debian 13, in a fresh system made for the run:
# debootstrap makes a minimal Debian 13 from the archive this machine's apt
# uses, the last commit is cloned into it and scripts/test.sh installs,
# builds and tests there as on a new machine. Then the package built there
# goes through scripts/clean-install-check.sh on another fresh Debian 13.
#   scripts/test-on-debian13.sh
# Tests what is committed (HEAD), not the working tree. Needs root (or sudo)
# and the Debian archive; nothing is kept between runs.
set -euo pipefail
cd "$(dirname "$0")/.."

release=trixie # Debian 13

if [[ $(id -u) -ne 0 ]]; then
  exec sudo --preserve-env=CI "$0" "$@"
fi

source scripts/debian-system.sh
work=$(mktemp -d /var/tmp/debian13.XXXXXX)
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

echo "== scripts/test.sh on Debian 13"
system_run "$root" bash -c 'cd /src/qinghe-taxcalc && scripts/test.sh'
tested=$(seconds)

echo "== the Debian 13 package"
system_run "$root" bash -c 'cd /src/qinghe-taxcalc && cpack -G DEB --config build/CPackConfig.cmake -B /tmp/package' \
  >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; exit 1; }
cp "$root"/tmp/package/*.deb "$work/"
scripts/clean-install-check.sh --release "$release" "$work"/*.deb
checked=$(seconds)

echo "debian 13: system $((made - started)) s, scripts/test.sh $((tested - made)) s," \
  "package check $((checked - tested)) s, in all $((checked - started)) s"
