#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) into
# build-fuzz and runs each of them in turn on its seed corpus, printing executions per
# second; a crash, hang, leak or sanitizer report fails the run and leaves its input in
# build-fuzz/findings/<target>/. See fuzz/README.md.
#   scripts/fuzz.sh [seconds-per-target] [target...]   default 60 s, every target
#   scripts/fuzz.sh --ci                                 20 s per target, for CI
# FUZZ_JOBS=n runs n targets at once (default 1; this machine is shared).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=60
if [ "${1:-}" = "--ci" ]; then
  seconds=20
  shift
elif [ -n "${1:-}" ]; then
  case "$1" in
    *[!0-9]*) echo "usage: $0 [--ci | seconds-per-target] [target...]" >&2; exit 2 ;;
  esac
  seconds=$1
  shift
fi

all_targets=(cgats cxf job measurement tolerances settings)
if [ $# -gt 0 ]; then targets=("$@"); else targets=("${all_targets[@]}"); fi
for t in "${targets[@]}"; do
  [ -f "fuzz/fuzz_$t.cpp" ] || { echo "unknown fuzz target: $t" >&2; exit 2; }
done

build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
jobs=${FUZZ_JOBS:-1}
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

echo "== building fuzz targets in $build"
# The build runs generators compiled with the same flags; their exit-time leaks are not ours.
export ASAN_OPTIONS=detect_leaks=0
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DVANTREL_FUZZ=ON -DVANTREL_BUILD_TESTS=OFF -DVANTREL_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target $(printf 'fuzz_%s ' "${targets[@]}")

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

# Runs one target; prints one summary line and returns non-zero on a finding.
run_target() {
  local t=$1
  local work="$build/fuzz-work/$t"
  local findings="$build/findings/$t"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$findings"
  # The seeds stay as they are; what the run learns goes to the work corpus.
  local log="$work/log.txt"
  local status=0
  nice -n 10 "$build/fuzz/fuzz_$t" "$work/corpus" "fuzz/corpus/$t" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1 || status=$?
  local execs rate
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  if [ $status -ne 0 ] || grep -q -E '^(==[0-9]+==ERROR|SUMMARY: |.*runtime error:)' "$log"; then
    printf 'FAIL %-12s %ss  execs %s  execs/s %s  log %s\n' "$t" "$seconds" "${execs:-?}" "${rate:-?}" "$log"
    grep -E 'ERROR|SUMMARY|runtime error|invariant|Test unit written' "$log" | head -5 | sed 's/^/     /'
    return 1
  fi
  printf 'ok   %-12s %ss  execs %s  execs/s %s\n' "$t" "$seconds" "${execs:-?}" "${rate:-?}"
}

echo "== fuzzing ${#targets[@]} target(s), $seconds s each"
failed=0
pids=()
names=()
for t in "${targets[@]}"; do
  run_target "$t" &
  pids+=($!)
  names+=("$t")
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
    names=("${names[@]:1}")
  fi
done
for p in "${pids[@]}"; do
  wait "$p" || failed=1
done

if [ $failed -ne 0 ]; then
  echo "fuzzing found problems: inputs in $build/findings/"
  exit 1
fi
echo "fuzzing: no findings"
