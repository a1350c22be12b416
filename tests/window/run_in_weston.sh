#!/usr/bin/env bash
# Runs a command as a native Wayland client: a Weston compositor is started
# inside the X server named by DISPLAY (so xdotool can still type into it)
# and SDL is told to use Wayland. Weston is stopped afterwards.
set -u
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
weston --backend=x11-backend.so --socket=morvanta --idle-time=0 --width=1280 --height=1024 --use-pixman \
  >"$runtime/weston.log" 2>&1 &
compositor=$!
trap 'kill "$compositor" 2>/dev/null; wait "$compositor" 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 200); do
  [ -S "$runtime/morvanta" ] && break
  sleep 0.05
done
if ! [ -S "$runtime/morvanta" ]; then
  echo "Weston did not start" >&2
  cat "$runtime/weston.log" >&2
  exit 1
fi
WAYLAND_DISPLAY=morvanta SDL_VIDEODRIVER=wayland "$@"
