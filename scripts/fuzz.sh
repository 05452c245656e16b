#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang's libFuzzer, under
# AddressSanitizer and UndefinedBehaviorSanitizer, in build-fuzz, and runs
# each for SECONDS (default 60) from its corpus. A crash, a leak or a hang
# fails the run, and the input that caused it is copied into
# fuzz/corpus/TARGET/, where it becomes a regression case once committed
# (ctest runs every corpus file through its target).
#   scripts/fuzz.sh [SECONDS [TARGET...]]     targets: profile chaos_gauge
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ "${#targets[@]}" -gt 0 ] || targets=(profile chaos_gauge)

dir=build-fuzz
./scripts/build.sh "$dir" -DCMAKE_CXX_COMPILER=clang++ -DVANTREL_FUZZ=ON -DVANTREL_SANITIZE=ON -DVANTREL_TESTS=OFF

failed=0
for target in "${targets[@]}"; do
  # Absolute paths: a target may change its working directory.
  work="$PWD/$dir/fuzz-work/$target"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/findings"
  seeds=("$PWD/fuzz/corpus/$target")
  # The built-in profiles are the parser's seeds as well.
  [ "$target" != profile ] || seeds+=("$PWD/link/sim/profiles")
  log="$work/log.txt"
  if ! "$dir/fuzz_$target" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
      -artifact_prefix="$work/findings/" "$work/corpus" "${seeds[@]}" >"$log" 2>&1; then
    failed=1
    tail -n 40 "$log"
    for finding in "$work"/findings/*; do
      [ -e "$finding" ] || continue
      cp "$finding" "fuzz/corpus/$target/"
      echo "fuzz_$target: $(basename "$finding") copied into fuzz/corpus/$target/: fix the fault, then commit it"
    done
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
  echo "fuzz_$target: ${runs:-?} inputs in ${took:-?} s (log: $log)"
done
exit "$failed"
