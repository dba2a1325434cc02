#!/usr/bin/env bash
# Sets up, builds and runs every test (default preset: release). The release
# run also builds the web preset and runs the browser tests (tests/web) in
# Chromium against it.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
./scripts/build.sh "$preset"
if [ "$preset" = release ]; then
  ./scripts/build.sh web
  cmake --preset release -DHUSH_WEB_DIR="$PWD/build/web/bin" >/dev/null
fi
ctest --preset "$preset" -j"$(nproc)"
