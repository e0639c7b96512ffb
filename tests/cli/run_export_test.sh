#!/usr/bin/env bash
# run_export_test.sh CLI DATA_DIR SCRIPT EXPECTED_DIR
# Runs SCRIPT like run_script_test.sh; it must succeed silently, and the
# files it exports under out/ must equal those under EXPECTED_DIR.
set -u
cli=$1 data=$2 script=$3 expected=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$data/HostInfo.hi" "$data/ChanInfo.ci" "$work/"
cp -r "$data/projects" "$work/samples"
output=$(cd "$work" && "$cli" "$script" 2>&1; echo "exit $?")
if [ "$output" != "exit 0" ]; then
  echo "$output"
  exit 1
fi
diff -r "$work/out" "$expected"
