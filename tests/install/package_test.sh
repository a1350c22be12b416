#!/usr/bin/env bash
# Builds the Debian package with cpack and looks inside: the tree under /usr
# with the launcher in /usr/games, the dependency on SDL's run-time package,
# a desktop entry starting /usr/games/morvanta, no uninstaller (dpkg removes
# the package), a launcher that gives a player who may not write to the tree
# a folder of their own, and no complaint of lintian's rated an error.
# Skipped where dpkg-deb or lintian is missing (scripts/install-deps.sh
# installs both).
#
# usage: package_test.sh <build folder> <application id>
set -uo pipefail
build=$1
app_id=$2
here=$(dirname "$0")
source "$here/checks.sh"

for tool in dpkg-deb lintian; do
  command -v $tool >/dev/null || {
    echo "$tool is missing: the package is not checked"
    exit 77
  }
done
scratch=$(mktemp -d)
chmod 755 "$scratch"
trap 'rm -rf "$scratch"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 || {
  cat "$scratch/cpack.log" >&2
  exit 1
}
package=$(ls "$scratch"/*.deb)
contents=$(dpkg-deb -c "$package" | awk '{print $6}')
has() { grep -qx "$1" <<<"$contents"; }

check "the package holds the launcher where Debian keeps games" has ./usr/games/morvanta
check "the package holds the game" has ./usr/lib/morvanta/morvanta
for picture in intro background faenger normal stein leben geld ufo; do
  check "the package holds $picture.bmp beside the game" has "./usr/lib/morvanta/$picture.bmp"
done
check "the package holds the desktop entry" has "./usr/share/applications/$app_id.desktop"
check "the package holds the icon" has "./usr/share/icons/hicolor/scalable/apps/$app_id.svg"
check "the package holds the manual page" has ./usr/share/man/man6/morvanta.6.gz
check "the package holds the copyright" has ./usr/share/doc/morvanta/copyright
check "the package holds no uninstaller" test -z "$(grep -e uninstall -e install_manifest <<<"$contents")"
check "everything lies under /usr" test -z "$(grep -v '^\./usr/' <<<"$contents" | grep -vx '\./')"
check "the package depends on SDL's run-time package" grep -q "libsdl2-2.0-0" <<<"$(dpkg-deb -f "$package" Depends)"
# Lintian warns of running as root, which CI does; only its errors count. It
# leaves a temporary file behind, so it gets a folder of its own.
check "lintian finds no error" quietly env TMPDIR="$scratch" lintian --fail-on error "$package"

root=$scratch/root
dpkg-deb -x "$package" "$root"
desktop=$root/usr/share/applications/$app_id.desktop
check "the packaged desktop entry starts /usr/games/morvanta" test "$(desktop_value "$desktop" Exec)" = /usr/games/morvanta
check "the packaged desktop entry passes desktop-file-validate" desktop-file-validate "$desktop"

# Unpacked by root, the tree is read-only for any other player, as installed.
if [ "$(id -u)" -eq 0 ]; then
  home=$scratch/home
  mkdir -p "$home"
  chown nobody "$home"
  folder=$(setpriv --reuid=nobody --regid=nogroup --clear-groups env -u XDG_DATA_HOME HOME="$home" \
    "$root/usr/games/morvanta" --prepare-only)
  check "a player gets a folder of their own" test "$folder" = "$home/.local/share/morvanta"
  check "the player's folder holds nothing of the game" test "$(ls -A "$folder")" = screenshots
fi
finish
