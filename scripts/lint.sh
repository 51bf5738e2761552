#!/bin/bash
# Static checks: formatting (clang-format, .clang-format), cppcheck (warning + portability) and
# clang-tidy (bugprone-* and the clang static analyzer, .clang-tidy) over the library sources.
# clang-tidy reads the 64-bit MinGW build's compile commands and MinGW's own libstdc++ headers.
#   scripts/lint.sh            all three; exit status 1 if any reports a finding
#   scripts/lint.sh --no-tidy  skip clang-tidy (the slow one)
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOR_ROOT"
vor_install || exit 1
if ! command -v clang-tidy >/dev/null || ! command -v cppcheck >/dev/null || ! command -v clang-format >/dev/null; then
  vor_apt_install clang-tidy cppcheck clang-format || exit 1
fi

status=0
mapfile -t sources < <(git ls-files 'src/*.cpp' 'src/*.h' 'include/*.h')
mapfile -t units < <(git ls-files 'src/*.cpp')

echo "== clang-format (${#sources[@]} files)"
drift=0
for f in "${sources[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || { echo "   not formatted: $f"; drift=$((drift + 1)); }
done
echo "   $drift file(s) differ from .clang-format"
[ $drift = 0 ] || status=1

echo "== cppcheck"
if cppcheck --quiet --std=c++17 --enable=warning,portability --inline-suppr --library=windows -D_WIN32 \
     -DVORIMAGE4_BUILD -I include -I src --suppress=missingIncludeSystem --error-exitcode=1 src include; then
  echo "   no findings"
else
  status=1
fi

if [ "${1:-}" != "--no-tidy" ]; then
  echo "== clang-tidy (${#units[@]} files, checks from .clang-tidy)"
  lintdir="$VOR_ROOT/build-lint"
  cmake -S "$VOR_ROOT" -B "$lintdir" -DCMAKE_TOOLCHAIN_FILE="$VOR_ROOT/cmake/mingw-x86_64.cmake" \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 1
  cxx="$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix/include/c++ | head -1)"
  log="$lintdir/clang-tidy.log"
  printf '%s\n' "${units[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$lintdir" --quiet \
      --extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-isystem"$cxx" \
      --extra-arg=-isystem"$cxx/x86_64-w64-mingw32" --extra-arg=-isystem"$cxx/backward" > "$log" 2>/dev/null
  findings=$(grep -cE '^[^ ].*: (warning|error):' "$log")
  grep -E '^[^ ].*: (warning|error):' "$log" | sed 's/^/   /'
  echo "   $findings finding(s)"
  [ "$findings" = 0 ] || status=1
fi
exit $status
