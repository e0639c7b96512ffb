#!/usr/bin/env bash
# Rebuilds the seed corpus fuzz/corpus from the sample projects and the
# reference files of a build: make_seeds.sh BUILD_DIR.
# One seed is the five files joined by the separator the fuzzer splits on.
set -euo pipefail
cd "$(dirname "$0")/.."
data=${1:-build}/data
sep=$'\n--8<--\n'
join() {  # hosts channels general hostinfo chaninfo
  local first=1
  for f in "$@"; do
    [ $first = 1 ] || printf '%s' "$sep"
    first=0
    cat "$f"
  done
}
mkdir -p fuzz/corpus
for p in "$data"/projects/*/; do
  name=$(basename "$p")
  join "$p/hosts.hs" "$p/channels.cs" "$p/general.gs" "$data/HostInfo.hi" "$data/ChanInfo.ci" \
    >"fuzz/corpus/$name"
done
# The three project files alone: no reference files at all.
join "$data/projects/ring/hosts.hs" "$data/projects/ring/channels.cs" \
  "$data/projects/ring/general.gs" >fuzz/corpus/ring-without-types
# A general.gs with every number form the reader knows, on one line.
{
  join "$data/projects/gaps/hosts.hs" "$data/projects/gaps/channels.cs"
  printf '%s' "$sep"
  printf -- '-1.5e+3 rest of line\r\n$10 0x1F -0X2 +7 -2147483648 2147483647\t1\x1a 5'
} >fuzz/corpus/number-forms
# A first-line real that rounds beyond the largest double when written back.
{
  join "$data/projects/ring/hosts.hs" "$data/projects/ring/channels.cs"
  printf '%s' "$sep"
  printf '1.7976931348623157e308\r\n'
  tail -n +2 "$data/projects/ring/general.gs"
  printf '%s' "$sep"
  join "$data/HostInfo.hi" "$data/ChanInfo.ci"
} >fuzz/corpus/largest-real
