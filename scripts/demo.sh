#!/bin/bash
# Installs what is missing, builds, and runs the demo host in a real window under Xvfb.
# The demo saves a screenshot of its window under out/.
#   scripts/demo.sh [demo options...]
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOR_ROOT"
vor_install || exit 1

BUILD="${VOR_BUILD_DIR:-$VOR_ROOT/build}"
echo "== building (32-bit, $BUILD)"
vor_build "$BUILD" "$VOR_ROOT/cmake/mingw-i686.cmake" || { echo "build failed" >&2; exit 1; }

export VOR_WINEPREFIX="${VOR_WINEPREFIX:-$BUILD/wineprefix}"
export WINEPREFIX="$VOR_WINEPREFIX"
VOR_FORCE_XVFB=1 vor_start_display
trap vor_stop_display EXIT

mkdir -p "$VOR_ROOT/out"
echo "== running the demo"
cd "$VOR_ROOT"
"$VOR_ROOT/scripts/wine-run.sh" "$BUILD/bin/VorDemo.exe" --out out "$@"
