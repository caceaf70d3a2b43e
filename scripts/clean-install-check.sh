#!/usr/bin/env bash
# Installs the Debian package on a fresh, minimal Debian 12 and starts it there:
# debootstrap makes the system in a scratch directory, apt-get installs the
# .deb with whatever it pulls in, and the installed program must open its
# window on an X server of ours (shared into the system through its socket).
#   scripts/clean-install-check.sh [package.deb]
# Needs root and the Debian archive; builds the package when none is given.
# Not part of the tests: it downloads a whole system (a few minutes).
set -euo pipefail
cd "$(dirname "$0")/.."

[[ $(id -u) -eq 0 ]] || { echo "clean-install-check: run as root (debootstrap, chroot)" >&2; exit 2; }

work=$(mktemp -d /tmp/clean-install.XXXXXX)
root=$work/root
mounts=()
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  sleep 0.5
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[i]}" 2>/dev/null || true; done
  # Never remove through a mount that is still there: it would reach the
  # host's /dev or its X sockets.
  if findmnt -rn -o TARGET | grep -q "^$work/"; then
    echo "clean-install-check: $work still has mounts; left in place" >&2
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
fail() { echo "clean-install-check: $*" >&2; exit 1; }

scripts/install-deps.sh
if ! dpkg-query -W -f='${Status}' debootstrap 2>/dev/null | grep -q '^install ok installed$'; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

deb=${1:-}
if [[ -z $deb ]]; then
  build=${BUILD_DIR:-build}
  [[ -f $build/build.ninja ]] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j"$(nproc)"
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
    || fail "cpack failed: $(cat "$work/cpack.log")"
  deb=$(ls "$work"/package/*.deb)
fi
[[ -f $deb ]] || fail "no package at $deb"

mirror=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
echo "== debootstrap bookworm (minbase) from ${mirror:=http://deb.debian.org/debian}"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 \
  || fail "debootstrap failed: $(tail -5 "$work/debootstrap.log")"
cp /etc/resolv.conf "$root/etc/resolv.conf"
for dir in /proc /dev /tmp/.X11-unix; do
  mkdir -p "$dir" "$root$dir"
  mount --bind "$dir" "$root$dir"
  mounts+=("$root$dir")
done

echo "== apt-get install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
chroot "$root" env DEBIAN_FRONTEND=noninteractive sh -c \
  "apt-get update -qq && apt-get install -y -qq /tmp/$(basename "$deb")" >"$work/install.log" 2>&1 \
  || fail "installing failed: $(tail -20 "$work/install.log")"
echo "   $(grep -c '^Setting up' "$work/install.log") packages set up"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
display=":$(head -n1 "$work/display")"

echo "== qinghe-taxcalc in the fresh system"
chroot "$root" env DISPLAY="$display" HOME=/root qinghe-taxcalc >"$work/program.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  geometry=$(DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep '"青禾税率计算器"' || true)
  [[ -n $geometry ]] && break
  sleep 0.1
done
[[ -n $geometry ]] || fail "no window: $(cat "$work/program.log")"
[[ $geometry == *" 574x250+182+175 "* ]] || fail "window at the wrong place: $geometry"
echo "   window: ${geometry#"${geometry%%[![:space:]]*}"}"
echo "clean install: the package installs and the calculator opens"
