#!/usr/bin/env bash
# Sets up, builds and runs every test (default preset: release).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
./scripts/build.sh "$preset"
ctest --preset "$preset" -j"$(nproc)"
