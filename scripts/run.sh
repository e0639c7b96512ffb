#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program on the shipped
# sample data in the workspace folder (created when missing; files a user
# saved there are never overwritten).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
top=$(pwd)
build=$(realpath -m "${NETD_BUILD_DIR:-build}")
work=${NETD_WORKSPACE:-$top/workspace}
mkdir -p "$work"
for f in "$build/data/HostInfo.hi" "$build/data/ChanInfo.ci" data/demo.script; do
  [ -e "$work/$(basename "$f")" ] || cp "$f" "$work/"
done
# The sample projects, each a subdirectory the open dialog lists; one that
# already exists (perhaps saved over by the user) is left alone.
for p in "$build"/data/projects/*/; do
  [ -e "$work/$(basename "$p")" ] || cp -r "$p" "$work/$(basename "$p")"
done
cd "$work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "netdesigner: нет графического дисплея; запустите под виртуальным: xvfb-run -a bash scripts/run.sh" >&2
  exit 1
fi
exec "$build/src/ui/netdesigner"
