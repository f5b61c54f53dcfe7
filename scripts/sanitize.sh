#!/usr/bin/env bash
# Builds everything with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# (with fuzzing instrumentation), runs all tests in that build, then runs every
# fuzzing harness for a bounded time.
#
#   bash scripts/sanitize.sh [SECONDS_PER_HARNESS]     (default 45)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-45}"
bash "$root/scripts/install-deps.sh"
build="$root/build-sanitize"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKEDLIN_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
  ctest --output-on-failure -j"$(nproc)"
bash "$root/fuzz/run_fuzzers.sh" "$build" "$seconds"
