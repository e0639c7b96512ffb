#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program on the shipped
# sample data in the workspace folder (created when missing; files a user
# saved there are never overwritten).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
top=$(pwd)
work=${NETD_WORKSPACE:-$top/workspace}
mkdir -p "$work"
for f in build/data/HostInfo.hi build/data/ChanInfo.ci data/demo.script; do
  [ -e "$work/$(basename "$f")" ] || cp "$f" "$work/"
done
# The sample projects, each a subdirectory the open dialog lists; one that
# already exists (perhaps saved over by the user) is left alone.
for p in build/data/projects/*/; do
  [ -e "$work/$(basename "$p")" ] || cp -r "$p" "$work/$(basename "$p")"
done
cd "$work"
exec "$top/build/src/cli/netdesigner-cli" demo.script
