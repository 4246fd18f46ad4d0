#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz/fuzz_*.cpp) with clang 14, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for SECONDS (default 60) over a copy of its
# seed corpus, so the corpus in the tree stays as committed, with the dictionary of its
# format's tokens (fuzz/dict/NAME.dict, or fuzz/dict/WORD.dict as for the corpus). Fails on any crash, leak or
# sanitizer report; the input that caused it is kept in fuzz/findings/.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
cxx="${ORVALIS_FUZZ_CXX:-clang++-14}"
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER="$cxx" -DORVALIS_BUILD_FUZZERS=ON -DORVALIS_BUILD_GUI=OFF \
  -DORVALIS_BUILD_TESTS=OFF -DORVALIS_BUILD_BENCH=OFF >/dev/null
targets=()
for src in fuzz/fuzz_*.cpp; do
  targets+=("$(basename "$src" .cpp)")
done
cmake --build "$build" -j2 --target "${targets[@]}"

mkdir -p fuzz/findings
failed=()
for target in "${targets[@]}"; do
  name="${target#fuzz_}"
  seeds="fuzz/corpus/$name"
  [ -d "$seeds" ] || seeds="fuzz/corpus/${name%%_*}"
  work="$(mktemp -d)"
  if [ -d "$seeds" ]; then
    cp -R "$seeds"/. "$work"/
  else
    echo "fuzz.sh: no seed corpus for $target (fuzz/corpus/$name/), starting empty" >&2
  fi
  dict="fuzz/dict/$name.dict"
  [ -f "$dict" ] || dict="fuzz/dict/${name%%_*}.dict"
  options=()
  [ -f "$dict" ] && options+=("-dict=$dict")
  log="$build/$target.log"
  echo "== $target: ${seconds}s over $(ls "$work" | wc -l) seed files from $seeds${options:+ with $dict}"
  if "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "${options[@]}" \
       -artifact_prefix="fuzz/findings/$target-" "$work" >"$log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || tail -n 3 "$log"
  else
    tail -n 60 "$log"
    failed+=("$target")
  fi
  rm -rf "$work"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: failed: ${failed[*]} (inputs in fuzz/findings/)" >&2
  exit 1
fi
echo "fuzz.sh: ${#targets[@]} fuzzers ran ${seconds}s each without a finding"
