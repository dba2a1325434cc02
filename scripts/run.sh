#!/usr/bin/env bash
# Sets up, builds and runs the show: in a window where there is a display,
# otherwise headless (SDL's offscreen video and dummy audio drivers).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh release
run_dir=build/release/bin
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$run_dir/hush" --data "$run_dir" "$@"
fi
echo "No display: running the show headless." >&2
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
exec "$run_dir/hush" --windowed --data "$run_dir" "$@"
