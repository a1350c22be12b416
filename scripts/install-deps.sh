#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that building, playing and
# testing need, skipping those already present. Needs root or sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev
  libgtest-dev libgmock-dev libbenchmark-dev libstb-dev liballegro4-dev
  xvfb xauth xdotool x11-utils imagemagick libxtst-dev openbox weston
  clang libclang-rt-14-dev
  desktop-file-utils lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Please install as root: apt-get install ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
