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
# The ring edited, built on and routed by the operation part (the sixth),
# whose last byte makes the fifth commit step of the closing save fail.
{
  cat fuzz/corpus/ring
  printf '%s' "$sep"
  printf '\x0d\x00\x00\x01\x0e\x00\x00\x01'
  printf '\x00\x00\x00\x01\x10\x01\x00\x20\x01\x00\x04\xd0\x90bc'
  printf '\x03\x00\x01\x01\x0b\x00\x00\x01\x0c\x00\x00\x01\x06\x02\x00\x01'
  printf '\x0a\x00\x00\x01\x09\x00\x00\x00'
  printf '\x02\x01\x00\x02\x30\x00\x00\x40\x00\x01\x05\xcf\xf0xyz'
  printf '\x0f\x00\x00\x00\x09$7fffFFFF\x01\x03\x00\x00\x04\x00\x00\x00\x05'
  printf '\x05\x00\x00\x03\x07\x07\x00\x00\x01\x08\x00\x00\x00\x05'
} >fuzz/corpus/edited-ring
