#!/bin/bash
# Runs a Windows program under wine: the loader that matches the program (32- or 64-bit), a
# private prefix with the crash dialog off, quiet, and a display (Xvfb when none is set).
# Usage: scripts/wine-run.sh program.exe [args...]
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEPREFIX="${VOR_WINEPREFIX:-$here/../build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"

# PE machine field: 0x14c i386, 0x8664 x86-64.
pe_machine() {
  local off
  off=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$off" ] || return
  od -An -t x2 -j $((off + 4)) -N 2 "$1" 2>/dev/null | tr -d ' '
}

loader=/usr/lib/wine/wine64
if [ "$(pe_machine "$1")" = "014c" ]; then loader=/usr/lib/wine/wine; fi
[ -x "$loader" ] || loader="$(command -v wine)"
export WINELOADER="$loader"

if [ ! -f "$WINEPREFIX/.vor-ready" ]; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.vor-ready" ]; then
      WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
      WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' \
        /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      wineserver -w 2>/dev/null
      touch "$WINEPREFIX/.vor-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$loader" "$@"
fi
exec "$loader" "$@"
