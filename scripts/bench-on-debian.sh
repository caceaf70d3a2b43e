#!/usr/bin/env bash
# The start-up benchmark on a Debian release, in a fresh system made for the
# run as scripts/test-on-debian.sh makes one: the last commit (HEAD) and an
# earlier one are built there, and bench-startup times both beside the bare
# dialog in one interleaved series, then once more pinned to one core.
#   scripts/bench-on-debian.sh bookworm|trixie [BEFORE] [-- bench-startup option...]
# BEFORE is the commit to compare with (default HEAD~1). Needs root (or
# sudo) and the Debian archive; nothing is kept between runs.
set -euo pipefail
cd "$(dirname "$0")/.."
release=${1:-}
if [[ $release != bookworm && $release != trixie ]]; then
  echo "usage: scripts/bench-on-debian.sh bookworm|trixie [BEFORE] [-- bench-startup option...]" >&2
  exit 2
fi
shift
before=HEAD~1
if (($#)) && [[ $1 != -- ]]; then
  before=$1
  shift
fi
(($#)) && [[ $1 == -- ]] && shift
options=("$@")
before=$(git rev-parse --verify "$before^{commit}")
if [[ $(id -u) -ne 0 ]]; then
  exec sudo "$0" "$release" "$before" -- "${options[@]}"
fi
source scripts/debian-system.sh
work=$(mktemp -d "/var/tmp/bench-$release.XXXXXX")
root=$work/root
cleanup() {
  system_remove "$root" || return 0
  rm -rf "$work"
}
trap cleanup EXIT
system_make "$release" "$root"
system_mount "$root"
git clone -q --no-hardlinks "$PWD" "$root/src/after"
git clone -q --no-hardlinks "$PWD" "$root/src/before"
git -C "$root/src/before" checkout -q "$before"

# Each in a build folder of its name, which bench-startup shows.
build='cmake -S . -B "build-$0" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null &&
  cmake --build "build-$0" -j"$(nproc)" --target "$@" >/dev/null'
echo "== building $(git rev-parse --short HEAD) and $(git rev-parse --short "$before") on $release"
system_run "$root" bash -c "cd /src/after && scripts/install-deps.sh >/dev/null && $build" \
  after qinghe-taxcalc bench-bare-dialog bench-startup
system_run "$root" bash -c "cd /src/before && $build" before qinghe-taxcalc

programs=(--program /src/before/build-before/app/qinghe-taxcalc --program /src/after/build-after/app/qinghe-taxcalc)
for cpus in all 0; do
  pin=()
  [[ $cpus == all ]] || pin=(--cpus "$cpus")
  system_run "$root" /src/after/build-after/bench/bench-startup "${programs[@]}" "${pin[@]}" "${options[@]}"
done
