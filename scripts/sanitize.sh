#!/usr/bin/env bash
# Builds the library, the runner and their tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (and checked standard containers) into build-asan/
# (or $NETD_ASAN_DIR) and runs the model and format tests once and the runner
# scripts, each under its time limit; then the main window under random use for
# about a minute ($NETD_RANDOM_EVENTS events, seed $NETD_RANDOM_SEED). Any
# report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$(realpath -m "${NETD_ASAN_DIR:-build-asan}")
# -O1, as the sanitizers are mostly used, compiles in half the time of -O2
# (the sanitized test programs most of all); line tables are all a report's
# stack needs.
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNETD_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  -DNETD_BUILD_UI=ON -DNETD_BUILD_BENCH=OFF >/dev/null
# Of the windows' tests only the random use: the others run in the plain build.
ninja -C "$dir" net_tests format_tests optimize_tests design_tests netdesigner-cli reference_files sample_projects \
  random_events_test
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp}
# The windows under random use spend most of their time waiting for Qt's
# own threads, not on a core: they run beside the other tests, and their
# report follows. Qt's own libraries are not built with the sanitizers: leaks
# are theirs to keep.
random_log=$(mktemp)
trap 'rm -f "$random_log"' EXIT
ASAN_OPTIONS=${ASAN_OPTIONS/detect_leaks=1/detect_leaks=0} QT_QPA_PLATFORM=offscreen \
  NETD_RANDOM_EVENTS=${NETD_RANDOM_EVENTS:-6000} NETD_RANDOM_SEED=${NETD_RANDOM_SEED:-1} \
  tests/ui/run_in_workdir.sh "$dir/data" "$dir/tests/ui/random_events_test" \
  >"$random_log" 2>&1 &
random=$!
status=0
# Everything but the install test and the windows.
ctest --test-dir "$dir" -E '^(install|ui)\.' --output-on-failure -j2 || status=1
wait "$random" || status=1
cat "$random_log"
exit "$status"
