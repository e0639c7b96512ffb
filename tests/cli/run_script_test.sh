#!/usr/bin/env bash
# run_script_test.sh CLI DATA_DIR SCRIPT EXPECTED
set -u
cli=$1 data=$2 script=$3 expected=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$data/HostInfo.hi" "$data/ChanInfo.ci" "$work/"
# Scripts may use projects shipped beside them.
[ -d "$(dirname "$script")/projects" ] && cp -r "$(dirname "$script")/projects" "$work/"
# ... and the sample projects built into the data directory, as samples/.
[ -d "$data/projects" ] && cp -r "$data/projects" "$work/samples"
actual=$(cd "$work" && "$cli" "$script" 2>&1; echo "exit $?")
if [ "$actual" != "$(cat "$expected")" ]; then
  diff <(echo "$actual") "$expected"
  exit 1
fi
