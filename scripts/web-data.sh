#!/usr/bin/env bash
# Packages a run folder's data/ and textures/ (the media and the effect
# files) for the page: OUT_DIR/hush.data and its loader OUT_DIR/hush.data.js,
# which the page loads before hush.js. Each --without leaves one file or
# folder (relative to the run folder) out of the package, as a missing file.
#   web-data.sh RUN_FOLDER OUT_DIR [--without RELATIVE_PATH]...
set -euo pipefail
usage="usage: web-data.sh RUN_FOLDER OUT_DIR [--without RELATIVE_PATH]..."
run=${1:?$usage}
out=${2:?$usage}
shift 2
without=()
while [ $# -gt 0 ]; do
  case $1 in
    --without)
      without+=("${2:?$usage}")
      shift 2
      ;;
    *)
      echo "$usage" >&2
      exit 2
      ;;
  esac
done
packager=${EMSCRIPTEN_FILE_PACKAGER:-/usr/share/emscripten/tools/file_packager.py}
mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for folder in data textures; do
  if [ ! -d "$run/$folder" ]; then
    echo "web-data.sh: $run has no $folder/ (make the media first)" >&2
    exit 1
  fi
  cp -r "$run/$folder" "$stage/"
done
for path in "${without[@]}"; do
  rm -rf "${stage:?}/$path"
done
# The page's file system holds the folders at its root, the program's
# working folder.
if ! log=$(cd "$stage" && python3 "$packager" "$out/hush.data" --preload data textures \
  --js-output="$out/hush.data.js" 2>&1); then
  echo "$log" >&2
  exit 1
fi
echo "web-data.sh: $out/hush.data ($(du -h "$out/hush.data" | cut -f1))"
