#!/usr/bin/env bash
# The Debian package on a fresh, minimal Debian system: apt-get installs it
# with whatever it pulls in and purges it; then, its dependencies in place,
# installs it again, the installed calculator must open its window on an X
# server of ours (shared into the system through its socket), and the purge
# must leave the system file for file as the first purge left it. (The
# dependencies' own purge is theirs: systemd's, say, leaves /etc/machine-id.)
#   scripts/clean-install-check.sh [--release <codename>] [--arch <arch>] [package.deb]
# The release is this machine's unless named (the package must be built on
# the release it is checked on). Builds the package when none is given.
# With --arch (arm64, armhf, s390x, ppc64el) the system is one of that CPU,
# run through qemu-user, and the package is cross-built for it
# (scripts/test-on-arch.sh --whole) and checked first as the package test
# checks the machine's own, lintian included.
# Needs root and the Debian archive; a few minutes, half an hour for another
# CPU. CI runs it for Debian 12 and 13 through scripts/test-on-debian.sh, on
# the package built there.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$PWD

[[ $(id -u) -eq 0 ]] || { echo "clean-install-check: run as root (debootstrap, chroot)" >&2; exit 2; }

release=$(. /etc/os-release && echo "$VERSION_CODENAME")
if [[ ${1:-} == --release ]]; then
  release=$2
  shift 2
fi
arch=$(dpkg --print-architecture)
if [[ ${1:-} == --arch ]]; then
  arch=$2
  shift 2
fi
deb=${1:-}

source scripts/debian-system.sh
source tests/display_session.sh
session clean-install-check
root=$(mktemp -d /var/tmp/clean-install.XXXXXX)
debootstrap_options=()
trap 'system_remove "$root"; session_end' EXIT

scripts/install-deps.sh
if [[ $arch != "$(dpkg --print-architecture)" ]]; then
  foreign_cpu_ready "$arch"
  debootstrap_options=(--arch "$arch")
  if [[ -z $deb ]]; then
    build=${BUILD_DIR:-build-$arch-whole}
    BUILD_DIR=$build scripts/test-on-arch.sh --whole --build-only "$arch"
    DEB_HOST_ARCH=$arch tests/package_test.sh cpack "$build" \
      "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")" 1 lintian
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
      || fail "cpack failed: $(cat "$work/cpack.log")"
    deb=$(ls "$work"/package/*.deb)
  fi
elif [[ -z $deb ]]; then
  build=${BUILD_DIR:-build}
  [[ -f $build/build.ninja ]] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j"$(nproc)"
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
    || fail "cpack failed: $(cat "$work/cpack.log")"
  deb=$(ls "$work"/package/*.deb)
fi
[[ -f $deb ]] || fail "no package at $deb"
package=$(dpkg-deb -f "$deb" Package)
[[ $(dpkg-deb -f "$deb" Architecture) == "$arch" ]] || fail "$deb is not for $arch"

system_make "$release" "$root" "${debootstrap_options[@]}"
system_mount "$root"
mkdir -p /tmp/.X11-unix "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"

# Every file of the system but those apt, dpkg and the run itself keep
# changing.
snapshot() {
  system_run "$root" find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /tmp -o -path /root \
    -o -path /run -o -path /var/lib/apt -o -path /var/cache/apt -o -path /var/lib/dpkg -o -path /var/log \
    -o -path /var/cache/debconf -o -path /var/cache/ldconfig -o -path /etc/ld.so.cache \) -prune -o -print |
    sort >"$1"
}
install() {
  system_run "$root" apt-get install -y -qq "./tmp/$(basename "$deb")" >"$work/install.log" 2>&1 \
    || fail "installing failed: $(tail -20 "$work/install.log")"
}
purge() {
  system_run "$root" apt-get purge -y -qq "$package" >"$work/purge.log" 2>&1 \
    || fail "purging failed: $(tail -20 "$work/purge.log")"
  local status
  status=$(system_run "$root" dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
  [[ -z $status || $status == "un "* || $status == "pn "* ]] || fail "dpkg still has $package: $status"
}

system_run "$root" apt-get update -qq >"$work/update.log" 2>&1 || fail "apt-get update failed: $(tail -5 "$work/update.log")"
cp "$deb" "$root/tmp/"
echo "== apt-get install ./$(basename "$deb") on a fresh $release"
install
echo "   $(grep -c '^Setting up' "$work/install.log") packages set up"
purge
snapshot "$work/before"

echo "== installed again, started and purged"
install
start_xvfb 1024x768x24
start_program chroot "$root" /usr/bin/env -i DISPLAY="$DISPLAY" HOME=/root LANG=C.UTF-8 "/usr/bin/$package"
wait_for_window "installed"
[[ $(geometry) == "182 175 574 250" ]] || fail "window at the wrong place: $(geometry)"
echo "   window: $(geometry)"
kill "$app"
wait "$app" 2>/dev/null || true
purge
snapshot "$work/after"
diff "$work/before" "$work/after" >"$work/left" || fail "the purge left the system changed: $(cat "$work/left")"
echo "clean install on $release: the package installs, the calculator opens, the purge leaves nothing"
