#!/usr/bin/env bash
# Builds the probe with Debian's Emscripten in four Asyncify variants, each
# a site folder under the given output folder (default build-web-spike/):
#   none             no Asyncify: cannot sleep, only for size and speed
#   all              -sASYNCIFY as it comes: every function that may reach an
#                    indirect call is instrumented
#   ignore-indirect  indirect calls assumed never to sleep, which holds
#                    because SleepOn calls the web clock directly: no list
#   only             exactly the functions on the way from main to the sleep
# Usage: web/spike/build.sh [output folder]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="$(realpath -m "${1:-$here/../../build-web-spike}")"

# Debian's emcc runs its JavaScript helpers with the node on the PATH; one
# that is not Debian's own finds their modules only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs

common=(-std=c++20 -O2 -Wall -Wextra -Wpedantic -Werror
  --js-library "$here/spike_library.js" --pre-js "$here/spike_pre.js" -lidbfs.js -sENVIRONMENT=web)
asyncify=(-sASYNCIFY -sASYNCIFY_IMPORTS=spike_sleep_laundered,spike_sleep_spinning,spike_sleep_prioritized)
# The functions between main and the platform sleep. Names are those of the
# wasm name section (demangled); inlining may remove some, which only warns.
path_to_sleep='main,*Play*,*Measure*,*SleepMs*,*SleepOn*,*WebClock::Sleep*'

declare -A variants=(
  [none]=""
  [all]="${asyncify[*]}"
  [ignore-indirect]="${asyncify[*]} -sASYNCIFY_IGNORE_INDIRECT"
  [only]="${asyncify[*]} -sASYNCIFY_ONLY=$path_to_sleep"
)

for variant in none all ignore-indirect only; do
  site="$out/$variant"
  mkdir -p "$site"
  cp "$here/index.html" "$site/"
  # shellcheck disable=SC2086
  em++ "${common[@]}" ${variants[$variant]} "$here/spike.cpp" -o "$site/spike.js"
  printf '%-16s wasm %7d bytes (gzip %6d)  js %6d bytes\n' "$variant" \
    "$(stat -c %s "$site/spike.wasm")" "$(gzip -9c "$site/spike.wasm" | wc -c)" "$(stat -c %s "$site/spike.js")"
done
