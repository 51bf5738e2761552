#!/bin/bash
# Builds the Windows-free core (rectangles, dirty list, TGA reader and blitters) with the host
# compiler under AddressSanitizer and UndefinedBehaviorSanitizer into build-native/, and runs
# its tests. Needs g++, cmake and doctest (/usr/include/doctest).
#   scripts/native-test.sh [doctest options...]
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VOR_NATIVE_BUILD_DIR:-$ROOT/build-native}"
for tool in g++ cmake; do
  command -v "$tool" >/dev/null || { echo "native-test: $tool is missing" >&2; exit 1; }
done
[ -f /usr/include/doctest/doctest.h ] || { echo "native-test: /usr/include/doctest/doctest.h is missing" >&2; exit 1; }

echo "== building the native core ($BUILD)"
cmake -S "$ROOT/tests/native" -B "$BUILD" -DCMAKE_CXX_COMPILER=g++ >/dev/null || exit 1
cmake --build "$BUILD" -j 2 || exit 1
echo "== testing the native core (ASan + UBSan)"
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}" \
UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
  "$BUILD/test_native_core" --no-colors=true "$@"
