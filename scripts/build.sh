#!/usr/bin/env bash
# Configures and builds into build/ (or $NETD_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${NETD_BUILD_DIR:-build}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
ninja -C "$dir"
