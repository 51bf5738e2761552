#!/bin/bash
# Runs the changing scene for FRAMES frames (default 10000) and prints GDI objects and process
# memory at the start, after the warm-up and at the end; fails when either grew.
#   scripts/soak.sh [frames]
set -u
exec bash "$(dirname "${BASH_SOURCE[0]}")/run-tool.sh" vor_soak "${1:-10000}"
