#!/bin/bash
# Builds (the 32-bit build when this machine can run it, else the 64-bit one) and runs one of the
# long-running check programs under wine with a display. Used by fuzz.sh and soak.sh.
#   scripts/run-tool.sh PROGRAM [args...]
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOR_ROOT"
program="$1"
shift
vor_install || exit 1
if vor_can_run_32bit; then
  BUILD="${VOR_BUILD_DIR:-$VOR_ROOT/build}"
  TOOLCHAIN="$VOR_ROOT/cmake/mingw-i686.cmake"
else
  BUILD="${VOR_BUILD64_DIR:-$VOR_ROOT/build-x64}"
  TOOLCHAIN="$VOR_ROOT/cmake/mingw-x86_64.cmake"
fi
echo "== building ($BUILD)"
vor_build "$BUILD" "$TOOLCHAIN" >/dev/null || { echo "build failed" >&2; exit 1; }
export VOR_WINEPREFIX="${VOR_WINEPREFIX:-$VOR_ROOT/build/wineprefix}"
export WINEPREFIX="$VOR_WINEPREFIX"
VOR_FORCE_XVFB=1 vor_start_display
trap vor_stop_display EXIT
cd "$BUILD/bin"
"$VOR_ROOT/scripts/wine-run.sh" "./$program.exe" "$@"
