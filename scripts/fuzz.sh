#!/usr/bin/env bash
# Builds the fuzzers with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-fuzz/ (or $NETD_FUZZ_DIR) and runs each for $NETD_FUZZ_SECONDS
# seconds (55 by default): the project and reference-file loaders from the
# seed corpus in fuzz/corpus, the readers of the exchange formats from
# fuzz/formats_corpus. A failing input is kept as build-fuzz/crash-* (or
# leak-*, timeout-*); replay it with: build-fuzz/fuzz/project_fuzzer FILE (or
# formats_fuzzer).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
dir=$(realpath -m "${NETD_FUZZ_DIR:-build-fuzz}")
seconds=${NETD_FUZZ_SECONDS:-55}
# Line tables are all a report's stack needs: -g1 instead of full debug information.
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
  -DCMAKE_CXX_COMPILER=clang++ -DNETD_BUILD_FUZZ=ON -DNETD_SANITIZE=ON \
  -DNETD_BUILD_UI=OFF -DNETD_BUILD_TESTS=OFF -DNETD_BUILD_BENCH=OFF >/dev/null
ninja -C "$dir" project_fuzzer formats_fuzzer
# New inputs go to scratch corpora; the seeds in the repository stay as they are.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/project" "$work/formats"
run() {
  local fuzzer=$1 corpus=$2 dict=$3 max_len=$4
  "$dir/fuzz/$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -max_len="$max_len" -len_control=0 \
    -dict="$top/fuzz/$dict" -artifact_prefix="$dir/" -print_final_stats=1 \
    "$work/$corpus" "$top/fuzz/$5" >"$work/$fuzzer.log" 2>&1
}
# -max_len: inputs well above the size of the sample projects (5.5 KB) and of
# a published network of 18 nodes without its paths, so that long files and
# long lines are tried too. The two fuzzers run at once, one on each core,
# each for its full time; their reports follow one after the other.
run project_fuzzer project project.dict 20000 corpus &
project=$!
run formats_fuzzer formats formats.dict 20000 formats_corpus &
formats=$!
status=0
wait "$project" || status=1
wait "$formats" || status=1
for fuzzer in project_fuzzer formats_fuzzer; do
  echo "== $fuzzer"
  grep -vE '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)|NEW_FUNC' "$work/$fuzzer.log" || true
done
exit "$status"
