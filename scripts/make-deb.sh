#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian packages with debian/ and checks them: lintian --pedantic
# (an error or a warning fails) and hardening-check on the program.
#   scripts/make-deb.sh BUILD_DIR OUT_DIR
# BUILD_DIR is packaged as it is when it was configured with Debian's flags,
# as make's release build is; otherwise the game is built again with them in
# build-deb/. DEB_BUILD_OPTIONS=nocheck skips the tests that need no display.
# OUT_DIR gets the .deb files (the program, its data and its debug symbols),
# package.log, lintian.txt and hardening.txt.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR OUT_DIR" >&2; exit 2; }
build=$(realpath -m "$1")
out=$(realpath -m "$2")
cd "$(dirname "$0")/.."

bash scripts/debian-flags.sh "$build" || build=$PWD/build-deb
rm -rf "$out"
mkdir -p "$out"
# What an earlier run left would skip steps or end up in the packages.
rm -rf debian/tmp debian/vellomar debian/vellomar-data debian/.debhelper \
  debian/debhelper-build-stamp debian/files debian/*.substvars
case " ${DEB_BUILD_OPTIONS:-} " in
  *" parallel="*) ;;
  *) export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:-} parallel=$(nproc)" ;;
esac
echo "make-deb: packaging $build" >"$out/package.log"
rules=(debian/rules "VM_BUILD_DIR=$build" "VM_DEB_DIR=$out")
if ! { "${rules[@]}" build && "${rules[@]}" binary; } >>"$out/package.log" 2>&1; then
  tail -n 40 "$out/package.log"
  echo "make-deb: packaging failed (whole log in $out/package.log)" >&2
  exit 1
fi
packages=("$out"/*.deb)
if ! lintian --pedantic --fail-on error,warning --tag-display-limit 0 "${packages[@]}" \
  >"$out/lintian.txt" 2>&1; then
  cat "$out/lintian.txt"
  echo "make-deb: lintian found errors or warnings" >&2
  exit 1
fi
sed 's/^/lintian: /' "$out/lintian.txt"
# Debian 12's build flags bring no control-flow protection (-fcf-protection).
if ! hardening-check --nocfprotection debian/vellomar/usr/games/vellomar >"$out/hardening.txt" 2>&1; then
  cat "$out/hardening.txt"
  echo "make-deb: the program lacks hardening" >&2
  exit 1
fi
printf '%s\n' "${packages[@]}"
