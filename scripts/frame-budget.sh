#!/usr/bin/env bash
# Prints docs/performance.md's frame-budget table: for each bench time, the
# triangles and the full-screen layers' worth of pixels a frame draws, what
# those layers cost at the price of one minimal layer on this machine (the
# floor: a 1024x768 textured, alpha-blended quad with bilinear filtering, in
# ms, measured apart), and the median frame the show takes.
# Usage: scripts/frame-budget.sh MS_PER_LAYER [RUN_FOLDER] [bench options...]
# (default options: --frames 30 at the 17 default times)
set -euo pipefail
price=${1:?the price of one full-screen layer in ms}
folder=${2:-build/release/bin}
shift $(( $# < 2 ? $# : 2 ))
if [ $# -eq 0 ]; then
  set -- --frames 30
fi
cd "$folder"
./hush --bench --json "$@" | python3 -c '
import json, sys
price = float(sys.argv[1])
bench = json.load(sys.stdin)
print("load before %s, after %s; one layer %.1f ms" % (bench["load_before"], bench["load_after"], price))
print("| t (s) | triangles | layers | floor (ms) | frame (ms) | frame / floor |")
print("|---:|---:|---:|---:|---:|---:|")
for time in bench["times"]:
    floor = time["layers"] * price
    frame = time["frame_ms"]["median"]
    print("| %g | %d | %.2f | %.1f | %.1f | %.1f |" % (time["t"], time["triangles"], time["layers"], floor, frame, frame / floor if floor else 0))
' "$price"
