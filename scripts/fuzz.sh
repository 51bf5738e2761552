#!/bin/bash
# Fuzzes every picture loader with N seeded inputs (default 20000) and prints, per loader, the
# inputs tried, refused and loaded, and the crashes, hangs and faults (each with its input seed).
# Exit status 0 only when there were none.
#   scripts/fuzz.sh [N] [--seed S] [--batch B] [--timeout SEC]
#   scripts/fuzz.sh --replay SEED      (one input, in one process, naming the faulty draw)
#   scripts/fuzz.sh --native [SECONDS] (libFuzzer on the Windows-free readers: scripts/fuzz-native.sh)
set -u
here="$(dirname "${BASH_SOURCE[0]}")"
if [ "${1:-}" = "--native" ]; then shift; exec bash "$here/fuzz-native.sh" "$@"; fi
if [ $# -ge 1 ] && [[ "$1" =~ ^[0-9]+$ ]]; then
  n="$1"
  shift
  exec bash "$here/run-tool.sh" vor_fuzz --inputs "$n" "$@"
fi
if [ $# -ge 1 ] && [[ "$1" == --* ]]; then exec bash "$here/run-tool.sh" vor_fuzz "$@"; fi
exec bash "$here/run-tool.sh" vor_fuzz --inputs 20000
