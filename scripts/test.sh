#!/usr/bin/env bash
# Installs what is missing, checks the layout of the changed C++ lines, builds
# everything with warnings as errors and runs every test: the unit, widget and batch
# suites under CTest (offscreen platform, no display needed), once in a release build
# and once under AddressSanitizer and UBSan (the dev-asan preset), then a short run of
# each fuzzer over its seed corpus.
#   ORVALIS_SANITIZERS=0 skips the sanitizer pass; ORVALIS_FUZZ_SECONDS sets the fuzz
#   time per target (default 60, 0 skips fuzzing).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
# Compiler cache entries keyed on paths relative to this checkout, so a clone in another
# folder reuses them.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

scripts/format-check.sh

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVALIS_WERROR=ON
cmake --build build-test
ctest --test-dir build-test --output-on-failure -j2

if [ "${ORVALIS_SANITIZERS:-1}" != 0 ]; then
  # Benchmarks are not run here, so the sanitizer build leaves them out.
  cmake --preset dev-asan -DORVALIS_WERROR=ON -DORVALIS_BUILD_BENCH=OFF
  cmake --build build-asan
  # Set here as well as on the tests, so that the programs the tests start (the batch
  # tool, the window's subprocess checks) run with the same suppressions and stops.
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --test-dir build-asan --output-on-failure -j2
fi

fuzz_seconds="${ORVALIS_FUZZ_SECONDS:-60}"
if [ "$fuzz_seconds" != 0 ] && [ -n "$(ls fuzz/fuzz_*.cpp 2>/dev/null)" ]; then
  scripts/fuzz.sh "$fuzz_seconds"
fi
