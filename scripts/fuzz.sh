#!/usr/bin/env bash
# Builds the libFuzzer harnesses (preset "fuzz", clang) and runs every one of
# them for SECONDS (default 60), one after the other. Fails when any harness
# finds a crash, a sanitizer report, a leak or a timeout; the input that
# caused it is kept in build/fuzz/findings/. Each harness keeps its corpus in
# build/fuzz/corpus/<harness>, so later runs start where earlier ones ended.
# Not part of .ci/run.
#
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
EACH="${1:-60}"
scripts/install-deps.sh

harnesses=()
for f in fuzz/fuzz_*.cpp; do
  harnesses+=("$(basename "$f" .cpp)")
done
cmake --preset fuzz -G Ninja >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target "${harnesses[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}"
OUT=build/fuzz
mkdir -p "$OUT/findings" "$OUT/logs"
status=0
for h in "${harnesses[@]}"; do
  mkdir -p "$OUT/corpus/$h"
  log="$OUT/logs/$h.log"
  if "$OUT/fuzz/$h" -max_total_time="$EACH" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$OUT/findings/$h-" "$OUT/corpus/$h" >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    cov="$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)"
    echo "$h: clean, ${runs:-?} runs in ${EACH} s, coverage ${cov:-?} edges, corpus $(ls "$OUT/corpus/$h" | wc -l) inputs"
  else
    echo "$h: FINDING (log $log)"
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -n 5 || true
    status=1
  fi
done
exit "$status"
