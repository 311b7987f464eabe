#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package that building, running and testing the game needs.
# Idempotent and quiet when everything is already there. A user who is not root
# and cannot use sudo without a password is told the command to run as root.
set -euo pipefail

packages=(
  # toolchain
  cmake ninja-build g++ make pkg-config clang-14 libclang-rt-14-dev
  # the tree's checks: layout and format
  python3 clang-format-14
  # the game
  libsdl2-dev libx11-dev libgl-dev libglu1-mesa-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev
  # asset generation (build time only)
  libcairo2-dev librsvg2-dev libfreetype-dev fonts-dejavu-core
  fonts-dejavu-extra
  # the translations: catalogues compiled and checked, merged into the desktop
  # entry and the AppStream file (build time and the tree's checks)
  gettext
  # tests, benchmarks and drawing checks
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth libgl1-mesa-dri sox
  # music module checks (tests only)
  xmp openmpt123 libxmp-dev
  # the installed game driven by pointer and screenshots, its window's
  # properties read (tests only)
  xdotool imagemagick x11-utils
  # the game as a native Wayland client, under a compositor nested in Xvfb (tests only)
  weston
  # install checks and the Debian packages (make deb), hardening-check among
  # devscripts
  desktop-file-utils appstream man-db debhelper dpkg-dev lintian devscripts
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null || ! sudo -n true 2>/dev/null; then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Install them as root, then run this again:" >&2
    echo "  apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  sudo="sudo -n"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
