#!/bin/bash
# Installs what is missing, builds the 32-bit DLL (the reference, build/) and the 64-bit DLL
# (build-x64/), and runs every test through ctest: each test program under wine, with a private
# wine prefix and its own Xvfb display. The whole suite runs on every architecture this machine
# can execute, then the Windows-free core natively under ASan and UBSan and a few seconds of libFuzzer on its readers; a kernel with 32-bit emulation off cannot start 32-bit wine, and is told so.
#   scripts/test.sh [--arch x86|x64|all] [ctest options...]
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOR_ROOT"
arch=all
if [ "${1:-}" = "--arch" ]; then arch="$2"; shift 2; fi
vor_install || exit 1

BUILD32="${VOR_BUILD_DIR:-$VOR_ROOT/build}"
BUILD64="${VOR_BUILD64_DIR:-$VOR_ROOT/build-x64}"
if [ "$arch" != x64 ]; then
  echo "== building 32-bit ($BUILD32)"
  vor_build "$BUILD32" "$VOR_ROOT/cmake/mingw-i686.cmake" || { echo "32-bit build failed" >&2; exit 1; }
fi
if [ "$arch" != x86 ]; then
  echo "== building 64-bit ($BUILD64)"
  vor_build "$BUILD64" "$VOR_ROOT/cmake/mingw-x86_64.cmake" || { echo "64-bit build failed" >&2; exit 1; }
fi

export VOR_WINEPREFIX="${VOR_WINEPREFIX:-$VOR_ROOT/build/wineprefix}"
export WINEPREFIX="$VOR_WINEPREFIX"
VOR_FORCE_XVFB=1 vor_start_display
trap vor_stop_display EXIT

status=0
if [ "$arch" != x64 ]; then
  if vor_can_run_32bit; then
    echo "== testing the 32-bit build"
    ctest --test-dir "$BUILD32" --output-on-failure -j 2 "$@" || status=1
  else
    echo "== this kernel cannot run 32-bit programs (32-bit emulation is off): the 32-bit build is"
    echo "   checked without running it; the full suite runs on the 64-bit build below"
    ctest --test-dir "$BUILD32" --output-on-failure -L static "$@" || status=1
    [ "$arch" = x86 ] && { echo "32-bit tests cannot run here" >&2; exit 1; }
  fi
fi
if [ "$arch" != x86 ]; then
  echo "== testing the 64-bit build"
  ctest --test-dir "$BUILD64" --output-on-failure -j 2 "$@" || status=1
fi
echo "== testing the Windows-free core natively (ASan + UBSan)"
bash "$VOR_ROOT/scripts/native-test.sh" || status=1
echo "== a short coverage-guided fuzz pass over the Windows-free readers (libFuzzer)"
bash "$VOR_ROOT/scripts/fuzz.sh" --native "${VOR_NATIVE_FUZZ_SECONDS:-5}" || status=1
exit $status
