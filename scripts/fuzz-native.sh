#!/bin/bash
# Coverage-guided fuzzing of the Windows-free readers with libFuzzer (clang, ASan + UBSan): the TGA
# reader and the image-file header check, each for SECONDS (default 60), one after the other on one
# core. Each target starts from the regression corpus (fuzz/corpus) and the seed pictures of its
# kinds, keeps what it learns in build-fuzz/corpus_<target> for the next run, and writes a finding
# to build-fuzz/findings/ (add it to fuzz/corpus once fixed). Prints per target: runs, executions
# per second, coverage (cov: edges, ft: features) and findings. Exit status 0 only with none.
#   scripts/fuzz-native.sh [SECONDS] [libFuzzer options...]      (also: scripts/fuzz.sh --native ...)
#   VOR_FUZZ_TARGETS=fuzz_tga_decoder scripts/fuzz-native.sh 600  (one target)
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VOR_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
seconds=60
if [ $# -ge 1 ] && [[ "$1" =~ ^[0-9]+$ ]]; then seconds="$1"; shift; fi
command -v clang++ >/dev/null || { echo "fuzz-native: clang++ is missing" >&2; exit 1; }
mkdir -p "$BUILD/findings"

flags=(-std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
       -I"$ROOT/src" -I"$ROOT/include")
echo "== building the libFuzzer targets ($BUILD)"
clang++ "${flags[@]}" "$ROOT/fuzz/native/FuzzTgaDecoder.cpp" "$ROOT/src/image/TgaDecoder.cpp" "$ROOT/src/image/TgaRuns.cpp" \
  -o "$BUILD/fuzz_tga_decoder" || exit 1
clang++ "${flags[@]}" "$ROOT/fuzz/native/FuzzImageFileCheck.cpp" "$ROOT/src/image/ImageFileCheck.cpp" \
  -o "$BUILD/fuzz_image_file_check" || exit 1

# fuzz TARGET SEED_PATTERNS...
status=0
fuzz() {
  local target="$1"; shift
  local corpus="$BUILD/corpus_$target" log="$BUILD/$target.log" pattern file
  mkdir -p "$corpus"
  for pattern in "$@"; do
    for file in "$ROOT"/fuzz/corpus/$pattern "$ROOT"/fuzz/seeds/$pattern; do
      [ -f "$file" ] && cp -n "$file" "$corpus/"
    done
  done
  echo "== fuzzing $target for $seconds s"
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" ASAN_OPTIONS="detect_leaks=1" \
    "$BUILD/$target" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$BUILD/findings/$target-" "${FUZZ_OPTIONS[@]}" >"$log" 2>&1
  local rc=$?
  local last runs rate
  last="$(grep -E '^#[0-9]+' "$log" | tail -n 1)"
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
  echo "$target: ${runs:-?} runs, ${rate:-?} exec/s, $(echo "$last" | grep -oE 'cov: [0-9]+ ft: [0-9]+')"
  if [ $rc -ne 0 ]; then
    echo "$target: FINDING (exit $rc), see $log and $BUILD/findings/" >&2
    grep -E 'ERROR|runtime error|SUMMARY' "$log" | head -n 5 >&2
    status=1
  fi
}
FUZZ_OPTIONS=("$@")
targets="${VOR_FUZZ_TARGETS:-fuzz_tga_decoder fuzz_image_file_check}"  # or one of them
[[ " $targets " == *" fuzz_tga_decoder "* ]] && fuzz fuzz_tga_decoder '*.tga'
[[ " $targets " == *" fuzz_image_file_check "* ]] && fuzz fuzz_image_file_check '*.bmp' '*.gif' '*.png'
exit $status
