#!/usr/bin/env bash
# Runs the game under Xvfb and reports what the benchmarks cannot see: the
# CPU the whole process uses while the menu waits, its peak resident memory
# while playing, and the time from a key press to the frame that shows it.
# Judges nothing. BUILD_DIR names the build folder (default build), which
# needs the targets morvanta and key_latency.
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${BUILD_DIR:-build}")"
ticks_per_second=$(getconf CLK_TCK)

work=$(mktemp -d)
cleanup() {
  [ -n "${game:-}" ] && kill "$game" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display of its own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
unset WAYLAND_DISPLAY MORVANTA_DRIVER

cp -r "$build/play" "$work/play"
(cd "$work/play" && exec ./morvanta 2>"$work/stderr.txt") &
game=$!

# utime + stime of the whole process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game/stat"; }
percent_of_core() { awk -v t="$1" -v s="$2" -v hz="$ticks_per_second" 'BEGIN { printf "%.1f", 100 * t / (s * hz) }'; }

window=$(xdotool search --sync --onlyvisible --pid "$game" | head -n 1)
xdotool windowfocus --sync "$window"
sleep 4  # start-up pause and intro picture, then the menu

start=$(cpu_ticks)
sleep 10
idle=$(( $(cpu_ticks) - start ))
echo "menu waiting, 10 s: $(percent_of_core "$idle" 10) % of one core ($idle ticks)"

xdotool keydown space
sleep 0.2
xdotool keyup space
sleep 1
start=$(cpu_ticks)
started=$(date +%s.%N)
"$build/bench/key_latency" "$window" 30 | tail -n 1
sleep 5
playing=$(( $(cpu_ticks) - start ))
seconds=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
echo "playing: $(percent_of_core "$playing" "$seconds") % of one core over $(printf %.1f "$seconds") s"
echo "peak resident memory while playing: $(awk '/VmHWM/ { printf "%.1f MB", $2 / 1024 }' "/proc/$game/status")"
