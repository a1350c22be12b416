#!/usr/bin/env bash
# Builds the fuzzers (clang with AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs each in turn for the given number of seconds (default 180).
#   fuzz/run.sh [seconds] [fuzzer...]      e.g. fuzz/run.sh 600 bload
# Corpora grow in $FUZZ_BUILD_DIR/fuzz-corpus and are kept between runs. A
# finding is saved under $FUZZ_BUILD_DIR/fuzz-findings/<fuzzer>/ and makes the
# script fail; once fixed, its input belongs in tests/fuzz_regressions/<fuzzer>/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-180}"
[ $# -gt 0 ] && shift
# Absolute, since the game's fuzzers change the working folder.
build="$(realpath -m "${FUZZ_BUILD_DIR:-build-fuzz}")"

CXX="${CXX:-clang++}" cmake -S . -B "$build" -G Ninja -DMORVANTA_FUZZ=ON -DMORVANTA_WERROR=ON \
  -DMORVANTA_BENCH=OFF >/dev/null
cmake --build "$build" --target morvanta_fuzzers

fuzzers=("$@")
if [ ${#fuzzers[@]} -eq 0 ]; then
  for source in fuzz/*_fuzz.cpp; do
    name="$(basename "$source" _fuzz.cpp)"
    fuzzers+=("$name")
  done
fi

rm -rf "$build/fuzz-seeds"
"$build/fuzz/make_fuzz_seeds" "$build/fuzz-seeds" "${fuzzers[@]}"

failed=()
for name in "${fuzzers[@]}"; do
  corpus="$build/fuzz-corpus/$name"
  findings="$build/fuzz-findings/$name"
  log="$build/fuzz-logs/$name.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  echo "== $name: ${seconds} s"
  if "$build/fuzz/${name}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$build/fuzz-seeds/$name" >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    coverage="$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1)"
    echo "   ${runs:-?} runs, $coverage, corpus $(find "$corpus" -type f | wc -l) inputs"
  else
    echo "   FINDING: see $log and $findings" >&2
    grep -E '^(==[0-9]+==ERROR|SUMMARY|fuzz finding)' "$log" | head -5 >&2 || true
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzers with findings: ${failed[*]}" >&2
  exit 1
fi
