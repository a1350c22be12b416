#!/usr/bin/env bash
# Installs the built game into a temporary prefix, checks the tree, and runs
# the launcher (on the null back end) for a game folder the player may write
# to and for one the player may not.
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
check "the manual page is in section 6" test -s "$prefix/share/man/man6/morvanta.6"
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
# game runs from `folder`: its executable and working folder say where its
# files land (it writes game.sav and game.hsc beside the executable it was
# started as). The game stays in its menu on the null back end until stopped.
start_game_in() {
  local folder=$1
  shift
  MORVANTA_DRIVER=null "$@" "$prefix/bin/morvanta" >"$scratch/game.log" 2>&1 &
  game_pid=$!
  local tries
  for tries in $(seq 100); do
    if [ "$(readlink "/proc/$game_pid/exe")" = "$folder/morvanta" ]; then
      [ "$(readlink "/proc/$game_pid/cwd")" = "$folder" ]
      return
    fi
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "the game did not keep running from $folder:" >&2
  cat "$scratch/game.log" >&2
  return 1
}

stop_game() {
  kill "$game_pid" 2>/dev/null
  wait "$game_pid" 2>/dev/null
  game_pid=""
}

game_runs_in() {
  start_game_in "$@"
  local started=$?
  stop_game
  return $started
}

# ---- A game folder the player may not write to ----
player_home=$scratch/home
mkdir -p "$player_home"
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$player_home"
  as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups env -u XDG_DATA_HOME HOME="$player_home")
  as_installer=()
else
  chmod -R a-w "$installed"
  as_player=(env -u XDG_DATA_HOME HOME="$player_home")
  as_installer=(chmod u+w "$installed/morvanta")
fi
player_folder=$player_home/.local/share/morvanta

listing_before=$(ls -A "$installed")
check "a read-only install prepares the player's own folder" \
  test "$("${as_player[@]}" "$prefix/bin/morvanta" --prepare-only)" = "$player_folder"
check "the player's folder holds a copy of the game" cmp -s "$installed/morvanta" "$player_folder/morvanta"
check "the copy is not a link, so the game's files land beside it" test ! -L "$player_folder/morvanta"
for picture in "${pictures[@]}"; do
  check "$picture is linked from the installed folder" \
    test "$(readlink "$player_folder/$picture")" = "$installed/$picture"
done
check "the player has a screenshots folder" test -d "$player_folder/screenshots"
check "the game runs from the player's folder" game_runs_in "$player_folder" "${as_player[@]}"
check "nothing was written into the installed folder" test "$(ls -A "$installed")" = "$listing_before"

# An upgrade replaces the installed game, here while the player's game runs;
# the player's saves stay.
echo "save" >"$player_folder/game.sav"
echo "best" >"$player_folder/game.hsc"
check "the game runs while the installed one is upgraded" start_game_in "$player_folder" "${as_player[@]}"
[ ${#as_installer[@]} -gt 0 ] && "${as_installer[@]}"
printf 'upgraded' >>"$installed/morvanta"
check "the launcher prepares the folder again meanwhile" \
  quietly "${as_player[@]}" "$prefix/bin/morvanta" --prepare-only
stop_game
check "a changed installed game is copied again" cmp -s "$installed/morvanta" "$player_folder/morvanta"
check "the save file survives the upgrade" test "$(cat "$player_folder/game.sav")" = save
check "the highscore survives the upgrade" test "$(cat "$player_folder/game.hsc")" = best

xdg_folder=$player_home/xdg/morvanta
check "XDG_DATA_HOME places the player's folder" \
  test "$("${as_player[@]}" XDG_DATA_HOME="$player_home/xdg" "$prefix/bin/morvanta" --prepare-only)" = "$xdg_folder"

# ---- A game folder the player may write to (an install for one user) ----
truncate -s -8 "$installed/morvanta"  # undo the upgrade: the game must run
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody "$installed"
else
  chmod -R u+w "$installed"
fi
unwritten_data=$scratch/unused-data
check "a writable install runs the game in the installed folder" \
  test "$("${as_player[@]}" XDG_DATA_HOME="$unwritten_data" "$prefix/bin/morvanta" --prepare-only)" = "$installed"
check "the game runs from the installed folder" \
  game_runs_in "$installed" "${as_player[@]}" XDG_DATA_HOME="$unwritten_data"
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
