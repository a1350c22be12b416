#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, the
# browser tests too (they build the game for the browser as well).
# BUILD_DIR and CMAKE_ARGS may be set to build another configuration; any
# arguments go to cmake's configure step as they are.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build="${BUILD_DIR:-build}"
# shellcheck disable=SC2086
cmake -S . -B "$build" -G Ninja -DMORVANTA_WEB_TESTS=ON ${CMAKE_ARGS:-} "$@"
cmake --build "$build"
cd "$build"
ctest --output-on-failure -j "$(nproc)"
