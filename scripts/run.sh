#!/usr/bin/env bash
# Sets up, builds and runs the show: in a window where there is a display.
# Without one it captures the whole show at 30 frames per second into
# hush.mp4 here (or, where ffmpeg is missing, into the PNG folder
# hush-frames/) and says where it is. Extra arguments go to hush.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only what the show needs: the tests are not built before the first frame.
./scripts/build.sh release hush_run_folder
run_dir=build/release/bin
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$run_dir/hush" --data "$run_dir" "$@"
fi
if command -v ffmpeg >/dev/null; then
  out="$PWD/hush.mp4"
else
  out="$PWD/hush-frames"
  echo "ffmpeg is not installed: writing PNG frames instead of a video." >&2
fi
echo "No display: capturing the show into $out" >&2
"$run_dir/hush" --data "$run_dir" --capture "$out" --fps 30 "$@"
echo "The show is in $out" >&2
