#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every
# test: the unit, widget and batch suites under CTest (offscreen platform, no display
# needed), then a short run of each fuzzer over its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVALIS_WERROR=ON
cmake --build build-test
ctest --test-dir build-test --output-on-failure -j2
if [ -n "$(ls fuzz/fuzz_*.cpp 2>/dev/null)" ]; then
  scripts/fuzz.sh "${ORVALIS_FUZZ_SECONDS:-60}"
fi
