#!/usr/bin/env bash
# Makes the README's picture of the show: one frame at each of twelve times
# spread across its 180 seconds, captured offscreen, each after a second of
# the show so that the particle swarms have filled, and tiled 4x3 at 320x240
# into one JPEG.
# scripts/contact-sheet.sh [OUT.jpg]   (default: docs/contact-sheet.jpg)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/contact-sheet.jpg}
./scripts/build.sh release hush_run_folder
run_dir=$PWD/build/release/bin
work=$(mktemp -d /tmp/hush_contact_XXXXXX)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
fps=10
sheet=0
# The middle of each fifteen-second stretch of the show.
for t in 7.5 22.5 37.5 52.5 67.5 82.5 97.5 112.5 127.5 142.5 157.5 172.5; do
  "$run_dir/hush" --data "$run_dir" --capture "$work/run" --fps "$fps" \
    --from "$(awk -v t="$t" 'BEGIN { print t - 1 }')" --to "$t"
  last=$(find "$work/run" -name 'frame_*.png' | sort | tail -n 1)
  mv "$last" "$work/$(printf 'sheet_%02d.png' "$sheet")"
  rm -rf "$work/run"
  sheet=$((sheet + 1))
done
ffmpeg -v error -y -framerate 1 -i "$work/sheet_%02d.png" \
  -vf "scale=320:240:flags=area,tile=4x3" -frames:v 1 -q:v 3 "$out"
echo "$out: $(du -k "$out" | cut -f1) KB" >&2
