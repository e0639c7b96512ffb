#!/usr/bin/env bash
# Builds the fuzzer of the file loaders with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ (or $NETD_FUZZ_DIR) and runs it
# for $NETD_FUZZ_SECONDS seconds (60 by default) from the seed corpus in
# fuzz/corpus. A failing input is kept as build-fuzz/crash-* (or leak-*,
# timeout-*); replay it with: build-fuzz/fuzz/project_fuzzer FILE
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
dir=${NETD_FUZZ_DIR:-build-fuzz}
seconds=${NETD_FUZZ_SECONDS:-60}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DNETD_BUILD_FUZZ=ON -DNETD_SANITIZE=ON \
  -DNETD_BUILD_UI=OFF -DNETD_BUILD_TESTS=OFF -DNETD_BUILD_BENCH=OFF >/dev/null
ninja -C "$dir" project_fuzzer
# New inputs go to a scratch corpus; the seeds in the repository stay as they are.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# -max_len: inputs well above the size of the sample projects (5.5 KB), so
# that long files and long operation parts are tried too.
"$top/$dir/fuzz/project_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
  -max_len=20000 -len_control=0 \
  -dict="$top/fuzz/project.dict" -artifact_prefix="$top/$dir/" -print_final_stats=1 \
  "$work" "$top/fuzz/corpus" 2>&1 | grep -vE '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)|NEW_FUNC'
