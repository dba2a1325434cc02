#!/usr/bin/env bash
# Compares the look of two builds of the show, frame by frame.
#
#   scripts/frame-ssim.sh [--keep DIR] BEFORE AFTER [T ...]
#
# BEFORE and AFTER are run folders (each holding hush and data/). For each
# show time T (default: the bench's seventeen times) both capture one frame
# (`./hush --capture OUT --from T --to T`, run inside the folder) and
# ffmpeg's ssim filter compares them; one line per time is printed:
#
#   t  SSIM(All)
#
# 1 is the same picture. --keep DIR keeps the frames as DIR/T-before.png and
# DIR/T-after.png to look at. Needs ffmpeg. Exit status 1 when a capture or
# a comparison fails.
set -euo pipefail

keep=""
if [ "${1:-}" = --keep ]; then
  keep=$(realpath -m "$2")
  shift 2
fi
if [ $# -lt 2 ]; then
  sed -n '2,15p' "$0" >&2
  exit 2
fi
before=$(realpath "$1")
after=$(realpath "$2")
shift 2
times=("$@")
if [ ${#times[@]} -eq 0 ]; then
  times=(2 13 23 26.5 29.5 37.5 48.5 66 83.5 92 101.5 106.5 111 125.5 145.5 163 175.5)
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -z "$keep" ] || mkdir -p "$keep"

capture() {  # run folder, time, output png
  rm -rf "$work/frames"
  if ! (cd "$1" && ./hush --capture "$work/frames" --from "$2" --to "$2" >/dev/null 2>&1); then
    echo "$2: the capture in $1 failed" >&2
    exit 1
  fi
  mv "$work/frames/frame_000000.png" "$3"
}

for t in "${times[@]}"; do
  capture "$before" "$t" "$work/before.png"
  capture "$after" "$t" "$work/after.png"
  ssim=$(ffmpeg -hide_banner -nostats -i "$work/before.png" -i "$work/after.png" \
    -lavfi ssim -f null - 2>&1 | sed -n 's/.*SSIM .* All:\([0-9.]*\).*/\1/p')
  [ -n "$ssim" ] || { echo "$t: ffmpeg gave no SSIM" >&2; exit 1; }
  printf '%s\t%s\n' "$t" "$ssim"
  if [ -n "$keep" ]; then
    cp "$work/before.png" "$keep/$t-before.png"
    cp "$work/after.png" "$keep/$t-after.png"
  fi
done
