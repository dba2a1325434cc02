#!/usr/bin/env bash
# Installs what is missing, then configures and builds one preset (default:
# release): everything, or only the targets named after the preset.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
shift || true
./scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
if [ $# -gt 0 ]; then
  cmake --build --preset "$preset" --target "$@"
else
  cmake --build --preset "$preset"
fi
