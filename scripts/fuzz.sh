#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz (with clang, in a build of their own) and runs them.
#   scripts/fuzz.sh                every target for 60 s
#   scripts/fuzz.sh tftp 600       one target for 10 minutes
#   scripts/fuzz.sh all 10         every target for 10 s (the smoke run of CI)
# Each target starts from its seed corpus (tests/fuzz/corpus/TARGET, with the dictionary
# tests/fuzz/dict/TARGET.dict when there is one) and keeps what it learns in
# BUILD/corpus/TARGET. A crash, a sanitizer report, a broken check or a hang leaves its input in
# BUILD/findings/TARGET/ and makes the script fail; turn each finding into a regression case of
# the normal tests. BUILD is build-fuzz unless KW_FUZZ_BUILD names another directory.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-all}
seconds=${2:-60}
dir=${KW_FUZZ_BUILD:-build-fuzz}

gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S tests/fuzz -B "$dir" "${gen[@]}" -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
fi
cmake --build "$dir" --parallel "$(nproc)"

if [ "$target" = all ]; then
  mapfile -t targets <"$dir/targets.txt"
else
  targets=("$target")
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen

failed=0
for t in "${targets[@]}"; do
  binary="$dir/bin/${t}_fuzz"
  if [ ! -x "$binary" ]; then
    echo "fuzz: no target $t (targets: $(tr '\n' ' ' <"$dir/targets.txt"))" >&2
    exit 2
  fi
  corpus="$dir/corpus/$t"
  findings="$dir/findings/$t"
  log="$dir/logs/$t.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  args=("$corpus" "tests/fuzz/corpus/$t" -max_total_time="$seconds" -timeout=20
    -rss_limit_mb=4096 -artifact_prefix="$findings/" -print_final_stats=1)
  [ -f "tests/fuzz/dict/$t.dict" ] && args+=(-dict="tests/fuzz/dict/$t.dict")
  status=0
  "$binary" "${args[@]}" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1)
  # Crashes, leaks, time-outs and memory blow-ups; a slow unit is noted, not counted.
  found=$(find "$findings" -type f ! -name 'slow-unit-*' | wc -l)
  echo "fuzz $t: ${runs:-?} runs in ${seconds} s, ${coverage:-no coverage line}, findings $found"
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "fuzz $t FAILED (exit $status); the log ends:" >&2
    tail -40 "$log" >&2
  fi
done
exit "$failed"
