#!/usr/bin/env bash
# Installs what is missing, builds the game for the browser into
# build-web/site/ and serves it on http://127.0.0.1:8000 until Ctrl+C.
# The site is static: any web server can host build-web/site/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset web
cmake --build --preset web
echo "Morvanta in the browser: http://127.0.0.1:8000/"
exec python3 -m http.server 8000 --bind 127.0.0.1 --directory build-web/site
