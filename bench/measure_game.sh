#!/usr/bin/env bash
# Runs the game under Xvfb and reports what the benchmarks cannot see: the
# CPU of the whole process while the menu waits and while playing with an
# arrow held (and the X server's CPU meanwhile), the time from a key press to
# the frame that shows it, and the peak resident memory.
#
# Prints "name value" lines, which bench/compare.py --game reads, and "# "
# lines for people. Judges nothing; exits non-zero when a measurement could
# not be made. BUILD_DIR names the build folder (default build), which needs
# the targets morvanta and key_latency.
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${BUILD_DIR:-build}")"
ticks_per_second=$(getconf CLK_TCK)
hold_seconds=2  # per arrow: the catcher crosses most of the screen, never stops
status=0

work=$(mktemp -d)
cleanup() {
  [ -n "${game:-}" ] && kill "$game" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "# machine: $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(nproc) cores;" \
  "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"

# A display of its own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
unset WAYLAND_DISPLAY MORVANTA_DRIVER

cp -r "$build/play" "$work/play"
catcher="$work/play/faenger.bmp"
(cd "$work/play" && exec ./morvanta 2>"$work/stderr.txt") &
game=$!

# utime + stime in clock ticks: of a process, or of one of its threads.
ticks() { awk '{ print $14 + $15 }' "$1"; }
process_ticks() { ticks "/proc/$1/stat"; }
thread_ticks() { ticks "/proc/$game/task/$1/stat"; }
percent_of_core() { awk -v t="$1" -v s="$2" -v hz="$ticks_per_second" 'BEGIN { printf "%.2f", 100 * t / (s * hz) }'; }
now() { date +%s.%N; }
seconds_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }
press() {
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
}
in_round() { "$build/bench/key_latency" --where "$window" "$catcher" >/dev/null; }

window=$(xdotool search --sync --onlyvisible --pid "$game" | head -n 1)
xdotool windowfocus --sync "$window"
sleep 4  # start-up pause and intro picture, then the menu

start=$(process_ticks "$game")
sleep 10
echo "menu_idle_cpu_percent $(percent_of_core $(($(process_ticks "$game") - start)) 10)"

# A round lasts a few seconds when nobody catches: three missed stones end
# it. So each measurement plays fresh rounds, started from the menu.
start_round() {
  press space
  sleep 1
  if ! in_round; then
    echo "measure_game.sh: no round started (no catcher on the screen)" >&2
    exit 1
  fi
}
leave_round() {
  press Escape
  sleep 1.5
}

# Playing with an arrow held, in three rounds of Right then Left: the whole
# process, its drawing (main) thread and the others (the display thread),
# and the X server.
seconds=0 game_ticks=0 drawing_ticks=0 x_ticks=0 rounds_ended=0
for round in 1 2 3; do
  start_round
  started=$(now)
  game_start=$(process_ticks "$game")
  drawing_start=$(thread_ticks "$game")
  x_start=$(process_ticks "$xvfb")
  for key in Right Left; do
    xdotool keydown "$key"
    sleep "$hold_seconds"
    xdotool keyup "$key"
  done
  seconds=$(awk -v a="$seconds" -v b="$(seconds_since "$started")" 'BEGIN { print a + b }')
  game_ticks=$((game_ticks + $(process_ticks "$game") - game_start))
  drawing_ticks=$((drawing_ticks + $(thread_ticks "$game") - drawing_start))
  x_ticks=$((x_ticks + $(process_ticks "$xvfb") - x_start))
  in_round || rounds_ended=$((rounds_ended + 1))
  leave_round
done
if [ "$rounds_ended" = 0 ]; then
  echo "# playing with an arrow held for $seconds s (3 rounds of Right then Left, ${hold_seconds} s each)"
  echo "playing_cpu_percent $(percent_of_core "$game_ticks" "$seconds")"
  echo "playing_drawing_thread_cpu_percent $(percent_of_core "$drawing_ticks" "$seconds")"
  echo "playing_other_threads_cpu_percent $(percent_of_core $((game_ticks - drawing_ticks)) "$seconds")"
  echo "playing_x_server_cpu_percent $(percent_of_core "$x_ticks" "$seconds")"
else
  echo "measure_game.sh: $rounds_ended round(s) ended while playing was measured; no playing figures" >&2
  status=1
fi

# Key to screen, in a fresh round.
start_round
if latency=$("$build/bench/key_latency" "$window" "$catcher" 30 | tail -n 1); then
  echo "# $latency"
  echo "key_to_screen_median_ms $(sed -E 's/.*median ([0-9.]+) ms.*/\1/' <<<"$latency")"
else
  echo "measure_game.sh: $latency" >&2
  status=1
fi

echo "peak_rss_mb $(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$game/status")"
echo "# load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
exit "$status"
