#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's build flags (hardening, debug symbols) as CMake cache settings, for
# the release build and the package, which is made from that build when it
# carries them.
#   scripts/debian-flags.sh            prints the -D options, quoted for a shell
#   scripts/debian-flags.sh BUILD_DIR  succeeds when that build tree uses them
set -euo pipefail
cd "$(dirname "$0")/.."
export DEB_BUILD_MAINT_OPTIONS="${DEB_BUILD_MAINT_OPTIONS:-hardening=+all}"
flag() { dpkg-buildflags --get "$1"; }

# CMake has no preprocessor flags of its own: they go with the compiler's.
settings=(
  "CMAKE_C_FLAGS=$(flag CFLAGS) $(flag CPPFLAGS)"
  "CMAKE_CXX_FLAGS=$(flag CXXFLAGS) $(flag CPPFLAGS)"
  "CMAKE_EXE_LINKER_FLAGS=$(flag LDFLAGS)"
  "CMAKE_SHARED_LINKER_FLAGS=$(flag LDFLAGS)"
)
if [ $# -eq 0 ]; then
  for s in "${settings[@]}"; do printf -- "-D%q " "$s"; done
  echo
  exit 0
fi
cache="$1/CMakeCache.txt"
[ -f "$cache" ] || exit 1
for s in "${settings[@]}"; do
  grep -qxF "${s%%=*}:STRING=${s#*=}" "$cache" || exit 1
done
