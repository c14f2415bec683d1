#!/usr/bin/env bash
# Installs what is missing, builds the whole suite and runs every test: first the normal
# build, then the AddressSanitizer + UndefinedBehaviorSanitizer build, then a short run of
# every fuzz target (clang, libFuzzer).
#   scripts/test.sh               everything
#   scripts/test.sh --no-sanitize normal build only
#   scripts/test.sh --sanitize    sanitizer build and fuzz run only
set -euo pipefail
cd "$(dirname "$0")/.."

normal=1
sanitize=1
case "${1:-}" in
  --no-sanitize) sanitize=0 ;;
  --sanitize) normal=0 ;;
  "") ;;
  *) echo "usage: $0 [--no-sanitize|--sanitize]" >&2; exit 2 ;;
esac

./scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DVANTREL_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 600
}

if [ $normal = 1 ]; then
  echo "== build (RelWithDebInfo)"
  run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
if [ $sanitize = 1 ]; then
  echo "== build (AddressSanitizer + UndefinedBehaviorSanitizer)"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON -DVANTREL_BUILD_BENCHMARKS=OFF
  echo "== fuzz targets, short run"
  ./scripts/fuzz.sh --ci
fi
