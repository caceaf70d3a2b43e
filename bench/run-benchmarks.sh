#!/usr/bin/env bash
# Builds every benchmark in bench/ and runs each, printing its figures.
#   bench/run-benchmarks.sh [build dir]      (default: build-bench)
# Figures only: nothing here passes or fails on a time.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}

"$root/scripts/install-deps.sh" --bench-peers
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi

# The benchmarks are the bench-* programs that bench/CMakeLists.txt declares
# and this build has (the start-up one only when the window is built); the
# bare dialog is the start-up benchmark's yardstick, not one of them.
available=$(cmake --build "$build" --target help)
benchmarks=()
for target in $(grep -oE 'add_executable\(bench-[A-Za-z0-9_-]+' "$root/bench/CMakeLists.txt" | sed 's/add_executable(//'); do
  [[ $target == bench-bare-dialog || $target == *-test ]] && continue
  grep -qE "(^|[[:space:]])$target(:|[[:space:]]|$)" <<<"$available" && benchmarks+=("$target")
done

cmake --build "$build" -j2 --target "${benchmarks[@]}"
for target in "${benchmarks[@]}"; do
  echo
  echo "== $target"
  "$build/bench/$target"
done
