#!/usr/bin/env bash
# Builds the library, the runner and their tests with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ (or $NETD_ASAN_DIR) and runs the
# model tests once and the runner scripts. Any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${NETD_ASAN_DIR:-build-asan}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNETD_SANITIZE=ON \
  -DNETD_BUILD_UI=OFF -DNETD_BUILD_BENCH=OFF >/dev/null
ninja -C "$dir"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
"$dir/tests/net/net_tests" --gtest_brief=1
ctest --test-dir "$dir" -R '^cli\.' --output-on-failure -j2
