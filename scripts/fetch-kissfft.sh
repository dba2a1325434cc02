#!/usr/bin/env bash
# Fetches kissfft's C sources from Debian's source package into DEST (the web
# build compiles them with emcc; Debian ships kissfft only for the host).
# Needs a deb-src line: as root, one mirroring the system's deb lines is added
# when none is there. Prints the folder that holds kiss_fft.c.
set -euo pipefail
dest=${1:?usage: fetch-kissfft.sh DEST}
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
found=$(find "$dest" -maxdepth 2 -name kiss_fft.c -printf '%h\n' 2>/dev/null | head -n1)
if [ -n "$found" ]; then
  echo "$found"
  exit 0
fi
if ! apt-get source --print-uris kissfft >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "fetch-kissfft.sh: apt has no deb-src line; add one mirroring your deb line" >&2
    exit 1
  fi
  # The deb entries of the system, as deb-src entries.
  list=/etc/apt/sources.list.d/hush-deb-src.sources
  {
    for f in /etc/apt/sources.list.d/*.sources; do
      [ "$f" = "$list" ] || [ ! -f "$f" ] || sed -e 's/^Types:.*/Types: deb-src/' "$f"
      echo
    done
  } >"$list"
  if [ -f /etc/apt/sources.list ]; then
    sed -n -e 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list >/etc/apt/sources.list.d/hush-deb-src.list
  fi
  apt-get update -qq >&2
fi
(cd "$dest" && apt-get source -qq kissfft >&2)
find "$dest" -maxdepth 2 -name kiss_fft.c -printf '%h\n' | head -n1
