#!/usr/bin/env bash
# The include rules of src/ (docs/architecture.md): each folder includes only
# the folders below it, the game and the public headers only public headers,
# and SDL, X11 and Emscripten are included only by the back ends. Prints every
# include that breaks a rule and fails if there is one.
#   include_rules.sh <src folder>
set -euo pipefail
cd "$1"

# The runtime's public headers: what a program on the runtime may include.
public="rt/result.h rt/strings.h rt/codepage.h rt/file_channels.h
  gfx/screen.h gfx/image.h gfx/bmp.h gfx/text.h gfx/window_identity.h
  input/keyboard.h input/key_codes.h input/mouse.h input/timing.h input/line_input.h input/random.h
  input/clock.h"

is_public() { [[ " ${public//$'\n'/ } " == *" $1 "* ]]; }

# May `file` include the project header `header`?
allowed() {
  local file=$1 header=$2
  case $file in
    rt/*) [[ $header == rt/* ]] ;;
    gfx/backend/*) [[ $header == rt/* || $header == input/* || $header == gfx/* ]] ;;
    gfx/* | input/*)
      if is_public "$file"; then is_public "$header"; else
        [[ $header == rt/* || $header == input/* || ($header == gfx/* && $header != gfx/backend/*) ]]
      fi ;;
    game/*) [[ $header == game/* ]] || is_public "$header" ;;
    main.cpp) [[ $header == game/* ]] ;;
    *) false ;;
  esac
}

broken=0
while IFS= read -r file; do
  while IFS= read -r line; do
    if [[ $line =~ ^#include\ \"([^\"]+)\" ]]; then
      header=${BASH_REMATCH[1]}
      [[ $header == "${file%.*}.h" ]] && continue  # a file's own header
      if ! allowed "$file" "$header"; then
        echo "$file includes $header" >&2
        broken=1
      fi
    elif [[ $line =~ ^#include\ \<(SDL|X11/|emscripten) && $file != gfx/backend/* ]]; then
      echo "$file includes a platform API outside gfx/backend/: $line" >&2
      broken=1
    fi
  done <"$file"
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)
exit $broken
