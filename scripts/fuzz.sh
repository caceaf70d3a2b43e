#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time from the seed
# corpus in tests/fuzz/corpus. Fails on any finding.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/install-deps.sh
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQINGHE_FUZZ=ON -DQINGHE_BUILD_UI=OFF -DQINGHE_BUILD_BENCH=OFF -DBUILD_TESTING=OFF -DQINGHE_DEBIAN_BUILD_FLAGS=OFF \
  -DCMAKE_CXX_FLAGS="$flags"
cmake --build build-fuzz -j"$(nproc)"
for target in build-fuzz/tests/fuzz/*_fuzz; do
  name=$(basename "$target")
  corpus=tests/fuzz/corpus/${name%_fuzz}
  work=$(mktemp -d)
  echo "== $name: ${seconds}s from $corpus"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -artifact_prefix="build-fuzz/$name-" "$work" "$corpus"
  rm -rf "$work"
done
echo "fuzzing: no findings"
