#!/usr/bin/env bash
# Builds the library, the runner and their tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (and checked standard containers) into build-asan/
# (or $NETD_ASAN_DIR) and runs the model tests once and the runner scripts, each
# under its time limit. Any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${NETD_ASAN_DIR:-build-asan}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNETD_SANITIZE=ON \
  -DNETD_BUILD_UI=OFF -DNETD_BUILD_BENCH=OFF >/dev/null
ninja -C "$dir"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Everything but the install test, which needs the windowed program.
ctest --test-dir "$dir" -E '^install\.' --output-on-failure -j2
