#!/usr/bin/env bash
# Runs a command with DISPLAY on a private Xvfb server (1280x1024x24) that is
# stopped afterwards. The server picks a free display number itself, so
# window tests can run in parallel.
set -u
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 200); do
  [ -s "$dir/display" ] && break
  sleep 0.05
done
if ! [ -s "$dir/display" ]; then
  echo "Xvfb did not start" >&2
  exit 1
fi
DISPLAY=":$(head -n 1 "$dir/display")" "$@"
