#!/usr/bin/env bash
# run_in_workdir.sh DATA_DIR PROGRAM [ARGS...]: runs PROGRAM in a fresh
# temporary directory that holds a copy of the reference files, and removes
# the directory afterwards.
set -euo pipefail
data=$1
shift
work=$(mktemp -d "${TMPDIR:-/tmp}/netd-ui-XXXXXX")
runtime=$(mktemp -d "${TMPDIR:-/tmp}/netd-ui-runtime-XXXXXX")
trap 'rm -rf "$work" "$runtime"' EXIT
cp "$data/HostInfo.hi" "$data/ChanInfo.ci" "$work/"
cd "$work"
# Qt wants a private runtime directory of its own.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$runtime}
# Recovery copies of the windows under test stay out of the user's own.
export XDG_STATE_HOME=$runtime/state
"$@"
