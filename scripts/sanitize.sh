#!/usr/bin/env bash
# Builds everything with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# (with fuzzing instrumentation), runs all tests in that build (the Qt ones
# offscreen) with leak detection on, then runs every fuzzing harness for a
# bounded time. Prints how long each step took.
#
#   bash scripts/sanitize.sh [SECONDS_PER_HARNESS]     (default 20 per harness)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-20}"
build="${SKEDLIN_SANITIZE_BUILD:-$root/build-sanitize}"
started=$SECONDS
step() { echo "== $1 ($((SECONDS - started))s so far)"; }

bash "$root/scripts/install-deps.sh"
step "configure and build in $build"
# -O1 with line tables only: the sanitizers' reports keep file and line, and the
# build takes far less time than with full debug information at -O2.
optimise="-O1 -gline-tables-only -DNDEBUG"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKEDLIN_FUZZ=ON \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="$optimise" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$optimise" >/dev/null
cmake --build "$build" -j"$(nproc)"

step "tests under the sanitizers"
# Leaks are reported, in the tests and in every program they start; only the
# system libraries' process-lifetime caches listed in fuzz/lsan.supp are not.
cd "$build"
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
  ctest --output-on-failure --timeout 600 -j"$(nproc)"

step "fuzzing, ${seconds}s per harness"
bash "$root/fuzz/run_fuzzers.sh" "$build" "$seconds"
step "done"
