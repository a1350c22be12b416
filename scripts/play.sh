#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it in its play folder.
# BUILD_DIR may name another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja
cmake --build "$build" --target morvanta
cd "$build/play"
exec ./morvanta
