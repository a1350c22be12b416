#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that building, playing and
# testing need, skipping those already present (needs root or sudo for
# them), and the browser tests' puppeteer-core with npm.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev libstb-dev liballegro4-dev
  xvfb xauth xdotool x11-utils x11-xkb-utils imagemagick libxtst-dev libxdamage-dev openbox weston
  clang libclang-rt-14-dev
  desktop-file-utils lintian
)
# The browser build and its tests. Their recommendations would bring a
# hundred packages (daemons, printing) that neither needs.
lean_packages=(emscripten chromium)
command -v npm >/dev/null || lean_packages+=(npm)

missing_of() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_lean < <(missing_of "${lean_packages[@]}")

if [ ${#missing[@]} -gt 0 ] || [ ${#missing_lean[@]} -gt 0 ]; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null ||
      { echo "Please install as root: apt-get install ${missing[*]} ${missing_lean[*]}" >&2; exit 1; }
    sudo="sudo"
  fi
  echo "Installing: ${missing[*]} ${missing_lean[*]}"
  $sudo apt-get update -qq
  apt_install() { $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >/dev/null; }
  [ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"
  [ ${#missing_lean[@]} -eq 0 ] || apt_install --no-install-recommends "${missing_lean[@]}"
fi

# puppeteer-core drives the system's Chromium; it downloads no browser.
if [ ! -d tests/web/node_modules ] || [ tests/web/package-lock.json -nt tests/web/node_modules/.package-lock.json ]; then
  (cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi
