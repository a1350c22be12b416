#!/usr/bin/env bash
# Installs the built game into a temporary prefix, checks the tree, and runs
# the launcher (on the null back end) for an install the player may not
# write to and for one the player may.
#
# A read-only folder has to be read-only for real: as root, permission bits
# do not stop writing, so the player is then the unprivileged user "nobody"
# (through setpriv), for whom a tree installed by root is read-only just as a
# system-wide install is, and to whom the tree is then handed for the writable
# case; otherwise the test removes and restores its own write permission.
#
# usage: install_test.sh <build folder> <application id>
set -uo pipefail
build=$1
app_id=$2
here=$(dirname "$0")
source "$here/checks.sh"

pictures=(intro.bmp background.bmp faenger.bmp normal.bmp stein.bmp leben.bmp geld.bmp ufo.bmp)
scratch=$(mktemp -d)
chmod 755 "$scratch"
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  chmod -R u+w "$scratch" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

# scripts/play.sh builds the game alone; that must leave everything the
# install needs, the icon too, which nothing but the install uses.
rm -f "$build/dist/$app_id.svg"
cmake --build "$build" --target morvanta >"$scratch/build.log" 2>&1 || {
  cat "$scratch/build.log" >&2
  exit 1
}

prefix=$scratch/usr
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" || {
  cat "$scratch/install.log" >&2
  exit 1
}
installed=$prefix/lib/morvanta

# ---- The installed tree ----
desktop=$prefix/share/applications/$app_id.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/$app_id.svg
check "the launcher is an executable in bin" test -x "$prefix/bin/morvanta"
check "the game is an executable in its folder" test -x "$installed/morvanta"
for picture in "${pictures[@]}"; do
  check "$picture lies beside the game and is a BMP" test "$(head -c 2 "$installed/$picture")" = BM
done
check "the manual page is in section 6, compressed" quietly gzip -t "$prefix/share/man/man6/morvanta.6.gz"
check "the icon is an SVG named after the application id" grep -q "<svg" "$icon"
check "the icon is drawn as squares of one pixel" grep -q '<rect x="[0-9]*" y="[0-9]*" width="1" height="1"' "$icon"
check "the desktop entry passes desktop-file-validate" desktop-file-validate "$desktop"
check "the desktop entry starts the installed launcher" test "$(desktop_value "$desktop" Exec)" = "$prefix/bin/morvanta"
check "the desktop entry names the icon by the id" test "$(desktop_value "$desktop" Icon)" = "$app_id"
check "the desktop entry expects windows of the id" test "$(desktop_value "$desktop" StartupWMClass)" = "$app_id"
check "the desktop entry files the game under arcade games" \
  test "$(desktop_value "$desktop" Categories)" = "Game;ArcadeGame;"
check "the desktop entry has a German name and comment" \
  test -n "$(desktop_value "$desktop" 'Name\[de\]')" -a -n "$(desktop_value "$desktop" 'Comment\[de\]')"

# Starts the launcher in the background as the player and waits until the
# game runs: from the installed folder, where it reads its pictures, told to
# keep the player's files in `player_folder`. The game stays in its menu on
# the null back end until stopped.
start_game_for() {
  local player_folder=$1
  shift
  MORVANTA_DRIVER=null "$@" "$prefix/bin/morvanta" >"$scratch/game.log" 2>&1 &
  game_pid=$!
  for _ in $(seq 100); do
    if [ "$(readlink "/proc/$game_pid/exe")" = "$installed/morvanta" ]; then
      [ "$(readlink "/proc/$game_pid/cwd")" = "$installed" ] &&
        tr '\0' '\n' <"/proc/$game_pid/environ" | grep -qx "MORVANTA_PLAYER_FOLDER=$player_folder"
      return
    fi
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "the game did not keep running:" >&2
  cat "$scratch/game.log" >&2
  return 1
}

game_runs_for() {
  start_game_for "$@"
  local started=$?
  kill "$game_pid" 2>/dev/null
  wait "$game_pid" 2>/dev/null
  game_pid=""
  return $started
}

# ---- A game folder the player may not write to ----
player_home=$scratch/home
mkdir -p "$player_home"
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$player_home"
  as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups env -u XDG_DATA_HOME HOME="$player_home")
else
  chmod -R a-w "$installed"
  as_player=(env -u XDG_DATA_HOME HOME="$player_home")
fi
player_folder=$player_home/.local/share/morvanta

listing_before=$(ls -A "$installed")
check "a read-only install prepares the player's own folder" \
  test "$("${as_player[@]}" "$prefix/bin/morvanta" --prepare-only)" = "$player_folder"
check "the player's folder holds nothing but a screenshots folder" test "$(ls -A "$player_folder")" = screenshots
check "the installed game runs, keeping the player's files in the player's folder" \
  game_runs_for "$player_folder" "${as_player[@]}"
check "nothing was written into the installed folder" test "$(ls -A "$installed")" = "$listing_before"

xdg_folder=$player_home/xdg/morvanta
check "XDG_DATA_HOME places the player's folder" \
  test "$("${as_player[@]}" XDG_DATA_HOME="$player_home/xdg" "$prefix/bin/morvanta" --prepare-only)" = "$xdg_folder"

# Launchers before kept a copy of the game and links to its pictures beside
# the player's files; upgrading tidies them away and keeps the player's files.
old_folder=$player_home/old/morvanta
mkdir -p "$old_folder/screenshots"
cp "$installed/morvanta" "$old_folder/morvanta"
for picture in "${pictures[@]}"; do
  ln -s "$installed/$picture" "$old_folder/$picture"
done
echo "save" >"$old_folder/game.sav"
echo "best" >"$old_folder/game.hsc"
echo "shot" >"$old_folder/screenshots/screen1.bmp"
[ "$(id -u)" -eq 0 ] && chown -R nobody "$player_home/old"
check "a player's folder of an earlier launcher is used again" \
  test "$("${as_player[@]}" XDG_DATA_HOME="$player_home/old" "$prefix/bin/morvanta" --prepare-only)" = "$old_folder"
check "the earlier launcher's copy of the game and links are gone" \
  test "$(ls -A "$old_folder" | tr '\n' ' ')" = "game.hsc game.sav screenshots "
check "the player's saves, highscore and screenshots are kept" \
  test "$(cat "$old_folder/game.sav" "$old_folder/game.hsc" "$old_folder/screenshots/screen1.bmp")" = \
  "$(printf 'save\nbest\nshot')"

# ---- A game folder the player may write to (an install for one user) ----
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody "$installed"
else
  chmod -R u+w "$installed"
fi
unwritten_data=$scratch/unused-data
check "a writable install keeps the player's files in the installed folder" \
  test "$("${as_player[@]}" XDG_DATA_HOME="$unwritten_data" "$prefix/bin/morvanta" --prepare-only)" = "$installed"
check "the game runs there" game_runs_for "$installed" "${as_player[@]}" XDG_DATA_HOME="$unwritten_data"
check "no folder of the player's own is made then" test ! -e "$unwritten_data/morvanta"
check "the installed folder has a screenshots folder" test -d "$installed/screenshots"

if [ "$(id -u)" -eq 0 ]; then
  root_home=$scratch/root-home
  check "root, who may write anywhere, still plays in a folder of its own" \
    test "$(env -u XDG_DATA_HOME HOME="$root_home" "$prefix/bin/morvanta" --prepare-only)" \
    = "$root_home/.local/share/morvanta"
fi

check "the launcher refuses unknown arguments" bash -c "! '$prefix/bin/morvanta' --bogus 2>/dev/null"
finish
