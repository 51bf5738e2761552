#!/bin/bash
# Installs what is missing, builds, and runs the demo host in a real window under Xvfb.
# Every scene saves a screenshot of the window under out/ (out/demo-<scene>.png).
#   scripts/demo.sh [--scene NAME|all] [--sprites N] [--frames N]
# The "buttons" scene plays scripted clicks; --interactive SECONDS lets a user click instead.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOR_ROOT"
vor_install || exit 1

if vor_can_run_32bit; then
  BUILD="${VOR_BUILD_DIR:-$VOR_ROOT/build}"
  TOOLCHAIN="$VOR_ROOT/cmake/mingw-i686.cmake"
else
  echo "== this kernel cannot run 32-bit programs (32-bit emulation is off): running the 64-bit build"
  BUILD="${VOR_BUILD64_DIR:-$VOR_ROOT/build-x64}"
  TOOLCHAIN="$VOR_ROOT/cmake/mingw-x86_64.cmake"
fi
echo "== building ($BUILD)"
vor_build "$BUILD" "$TOOLCHAIN" || { echo "build failed" >&2; exit 1; }

export VOR_WINEPREFIX="${VOR_WINEPREFIX:-$VOR_ROOT/build/wineprefix}"
export WINEPREFIX="$VOR_WINEPREFIX"
VOR_FORCE_XVFB=1 vor_start_display
trap vor_stop_display EXIT

mkdir -p "$VOR_ROOT/out"
echo "== running the demo"
"$VOR_ROOT/scripts/wine-run.sh" "$BUILD/bin/VorDemo.exe" --out out "$@"
