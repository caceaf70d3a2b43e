#!/usr/bin/env bash
# Builds the Debian package twice, from two fresh clones of the last commit
# at two different paths, and checks that both .deb files are the same bytes.
#   scripts/reproducible-check.sh            SOURCE_DATE_EPOCH: the commit's date
#   SOURCE_DATE_EPOCH=... scripts/reproducible-check.sh
# Uncommitted changes are not in the clones. Takes two builds of the program
# (several minutes on two cores); not part of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

work=$(mktemp -d /tmp/reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "reproducible: $*" >&2; exit 1; }
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
commit=$(git rev-parse HEAD)

# build <clone dir>: clones, builds the program and packages it into <clone dir>/deb.
build() {
  local tree=$1
  git clone --quiet --no-local "$PWD" "$tree"
  git -C "$tree" checkout --quiet --detach "$commit"
  cmake -S "$tree" -B "$tree/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DQINGHE_BUILD_BENCH=OFF >"$tree.configure.log" 2>&1 || fail "configuring $tree: $(tail "$tree.configure.log")"
  cmake --build "$tree/build" -j"$(nproc)" --target qinghe-taxcalc >"$tree.build.log" 2>&1 \
    || fail "building $tree: $(tail "$tree.build.log")"
  cpack -G DEB --config "$tree/build/CPackConfig.cmake" -B "$tree/deb" >"$tree.cpack.log" 2>&1 \
    || fail "packaging $tree: $(tail "$tree.cpack.log")"
}

start=$SECONDS
build "$work/first/qinghe-taxcalc"
build "$work/second/elsewhere/taxcalc-copy"
first=$(ls "$work"/first/qinghe-taxcalc/deb/*.deb)
second=$(ls "$work"/second/elsewhere/taxcalc-copy/deb/*.deb)
sha256sum "$first" "$second"
if ! cmp -s "$first" "$second"; then
  for deb in "$first" "$second"; do
    mkdir -p "$deb.x" && dpkg-deb -x "$deb" "$deb.x" && dpkg-deb -e "$deb" "$deb.x/DEBIAN"
  done
  diff -r "$first.x" "$second.x" >&2 || true
  fail "the two packages differ (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)"
fi
echo "reproducible: $(basename "$first") identical from two clones at two paths," \
  "SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH, $((SECONDS - start)) s"
