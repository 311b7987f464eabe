#!/usr/bin/env bash
# Packages the game with debian/ from an already built CMake tree, then runs
# lintian on the package; lintian errors fail, its other tags are listed.
#   scripts/make-deb.sh BUILD_DIR OUT_DIR
# OUT_DIR gets vellomar_<version>_<arch>.deb, package.log and lintian.txt.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR OUT_DIR" >&2; exit 2; }
build=$(realpath "$1")
out=$(realpath -m "$2")
cd "$(dirname "$0")/.."

rm -rf "$out"
mkdir -p "$out"
# A stamp from an earlier run would skip the build step, which also brings
# the build tree up to date.
rm -f debian/debhelper-build-stamp
# The release build carries no debug information to split off.
export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:-} noautodbgsym"
rules=(debian/rules "VM_BUILD_DIR=$build" "VM_DEB_DIR=$out")
if ! { "${rules[@]}" build && "${rules[@]}" binary; } >"$out/package.log" 2>&1; then
  tail -n 40 "$out/package.log"
  echo "make-deb: packaging failed (whole log in $out/package.log)" >&2
  exit 1
fi
deb=$(find "$out" -maxdepth 1 -name 'vellomar_*.deb')
if ! lintian --fail-on error --tag-display-limit 0 "$deb" >"$out/lintian.txt" 2>&1; then
  cat "$out/lintian.txt"
  echo "make-deb: lintian found errors" >&2
  exit 1
fi
sed 's/^/lintian: /' "$out/lintian.txt"
echo "$deb"
