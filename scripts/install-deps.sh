#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/deps.txt that are missing.
# As root it runs apt-get; otherwise it prints the command to run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mapfile -t wanted < <(grep -Ev '^\s*(#|$)' "$here/deps.txt")
missing=()
for pkg in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
cmd=(apt-get install -y --no-install-recommends "${missing[@]}")
if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  "${cmd[@]}"
else
  echo "Missing packages. Run as root:" >&2
  echo "  sudo ${cmd[*]}" >&2
  exit 1
fi
