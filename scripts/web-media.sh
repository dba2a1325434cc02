#!/usr/bin/env bash
# Makes the show's media and effect files in a desktop build's run folder
# (BUILD_DIR/bin), for the web build to package: datakit runs on the host.
# A BUILD_DIR that is not configured yet is configured here: build/release
# with the release preset, any other folder as a plain optimised build.
set -euo pipefail
build=${1:?usage: web-media.sh BUILD_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
# Whatever the web build's environment says about compilers is emcc's.
unset CC CXX CFLAGS CXXFLAGS LDFLAGS EM_CONFIG
if [ ! -f "$build/CMakeCache.txt" ]; then
  if [ "$(realpath -m "$build")" = "$root/build/release" ]; then
    (cd "$root" && cmake --preset release >/dev/null)
  else
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DHUSH_TESTS=OFF -DHUSH_BENCHMARKS=OFF >/dev/null
  fi
fi
cmake --build "$build" --target hush_media hush_effect_files
