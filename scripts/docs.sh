#!/bin/bash
# Renders the reference documentation of the public headers and docs/guide.md with Doxygen into
# build/docs/html. Any Doxygen warning (an undocumented public member, a broken reference) fails it.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOR_ROOT"
if ! command -v doxygen >/dev/null; then
  vor_apt_install doxygen || exit 1
fi
export VOR_DOCS_OUT="$VOR_ROOT/build/docs"
mkdir -p "$VOR_DOCS_OUT"
(cd docs && doxygen Doxyfile) || { echo "doxygen failed" >&2; exit 1; }
if [ -s "$VOR_DOCS_OUT/warnings.log" ]; then
  cat "$VOR_DOCS_OUT/warnings.log"
  echo "$(wc -l < "$VOR_DOCS_OUT/warnings.log") doxygen warning(s): see above" >&2
  exit 1
fi
echo "documentation: $VOR_DOCS_OUT/html/index.html ($(ls "$VOR_DOCS_OUT/html" | wc -l) files, no warnings)"
