#!/usr/bin/env bash
# Installs what is missing, builds the calculator and opens it.
#   scripts/run.sh                  on a desktop
#   tests/display_session.sh -- scripts/run.sh   without a display
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target qinghe-taxcalc
exec build/app/qinghe-taxcalc "$@"
