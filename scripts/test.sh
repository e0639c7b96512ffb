#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j2
# The library tests once more under AddressSanitizer and UndefinedBehaviorSanitizer,
# then under two minutes of fuzzing the file loaders and the exchange formats.
bash scripts/sanitize.sh
bash scripts/fuzz.sh
