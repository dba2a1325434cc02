#!/usr/bin/env bash
# Builds the web preset (the page, its program and the media package; the
# media come from a desktop build's datakit in build/release) and serves
# build/web/bin on http://localhost:PORT/hush.html (PORT: 8000 unless set).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset web >/dev/null
cmake --build --preset web
port=${PORT:-8000}
echo "hush: serving build/web/bin on http://localhost:$port/hush.html (Ctrl+C stops)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/bin
