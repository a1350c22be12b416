#!/usr/bin/env bash
# Installs twice into a temporary prefix that already holds other programs'
# files, builds the Debian package (which rewrites the build's
# install_manifest.txt), then runs the uninstaller the install left behind:
# everything the install wrote goes, with the folders it made, and nothing
# else is touched. So it does over an install that kept no list yet. A
# player's files in the game folder stay, with the folder; a damaged list is
# not followed.
#
# usage: uninstall_test.sh <build folder>
set -uo pipefail
build=$1
here=$(dirname "$0")
source "$here/checks.sh"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
uninstall=$prefix/lib/morvanta/uninstall

# Every entry below the prefix with its type, mode and content.
tree() {
  (cd "$prefix" && find . -printf '%p %y %m\n' | sort && find . -type f -print0 | sort -z | xargs -0 md5sum)
}

install_game() {
  cmake --install "$build" --prefix "$prefix" >>"$scratch/install.log" 2>&1 || {
    cat "$scratch/install.log" >&2
    exit 1
  }
}

# Another program's files, and folders the install uses that exist already,
# two of them empty.
mkdir -p "$prefix/bin" "$prefix/lib" "$prefix/share/applications" "$prefix/share/man/man6"
echo "another program" >"$prefix/bin/other"
echo "[Desktop Entry]" >"$prefix/share/applications/other.desktop"
before=$(tree)

install_game
install_game
check "cpack builds the package" quietly cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package"
check "the uninstaller succeeds" quietly "$uninstall"
check "everything the install made is gone and nothing else changed" test "$(tree)" = "$before"

# What an install made before installs kept a list: the game's folder and
# the uncompressed manual page go as well.
mkdir -p "$prefix/lib/morvanta"
echo "old page" >"$prefix/share/man/man6/morvanta.6"
install_game
quietly "$uninstall"
check "an install over one without a list leaves nothing behind either" test "$(tree)" = "$before"

install_game
echo "save" >"$prefix/lib/morvanta/game.sav"
mkdir -p "$prefix/lib/morvanta/screenshots"
quietly "$uninstall"
check "a player's file in the game folder stays, and nothing else of the game" \
  test "$(cd "$prefix" && find lib | sort | tr '\n' ' ')" = "lib lib/morvanta lib/morvanta/game.sav "
rm -r "${prefix:?}/lib/morvanta"

install_game
list=$prefix/lib/morvanta/install_manifest.txt
echo "$scratch/elsewhere" >>"$list"
check "a list naming anything outside the install is not followed" bash -c "! '$uninstall' 2>/dev/null"
check "and nothing is removed then" test -x "$uninstall" -a -s "$prefix/bin/morvanta"
finish
