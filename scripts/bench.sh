#!/bin/bash
# Builds the 64-bit library with bench/, runs bench_vorimage under wine and the same sprite scene in
# pygame (LayeredDirty) twice: with SDL's dummy video driver (nothing presented) and presenting to a
# real window on the same Xvfb display (SDL's x11 driver, display.update(rects)). Then prints one
# table (median of repeats; ratios from this run) and the targets (met / MISSED), and writes
# out/bench.csv and the chart out/bench.png (one panel per group).
#   scripts/bench.sh [blit|scene|cost|load]      (default: everything)
set -u
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$VOR_ROOT"
vor_install || exit 1

vor_install_bench || exit 1

BUILD64="${VOR_BUILD64_DIR:-$VOR_ROOT/build-x64}"
echo "== building 64-bit ($BUILD64)"
vor_build "$BUILD64" "$VOR_ROOT/cmake/mingw-x86_64.cmake" >/dev/null || { echo "64-bit build failed" >&2; exit 1; }
if vor_can_run_32bit; then
  echo "== note: benchmarking the 64-bit build only"
else
  echo "== note: this kernel cannot run 32-bit programs (32-bit emulation is off), so the benchmark"
  echo "   runs the 64-bit build; the 32-bit DLL uses the same kernels (SSE2/SSSE3/AVX2 chosen by CPUID)"
fi

export VOR_WINEPREFIX="${VOR_WINEPREFIX:-$VOR_ROOT/build/wineprefix}"
export WINEPREFIX="$VOR_WINEPREFIX"
VOR_FORCE_XVFB=1 vor_start_display
trap vor_stop_display EXIT

mkdir -p out
what="${1:-all}"
args=()
[ "$what" != all ] && args=("$what")
echo "== running bench_vorimage under wine (takes a minute or two)"
bash scripts/wine-run.sh "$BUILD64/bin/bench_vorimage.exe" "${args[@]}" | tr -d '\r' > out/bench_vorimage.csv ||
  { echo "bench_vorimage failed" >&2; exit 1; }
: > out/bench_pygame.csv
: > out/bench_pygame_x11.csv
if [ "$what" = all ] || [ "$what" = scene ]; then
  echo "== running the same scene in pygame (LayeredDirty, SDL_VIDEODRIVER=dummy: nothing presented)"
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy PYGAME_HIDE_SUPPORT_PROMPT=1 \
    /usr/bin/python3 bench/pygame_scene.py dummy > out/bench_pygame.csv || { echo "pygame scene failed" >&2; exit 1; }
  echo "== running it again presenting to a window on $DISPLAY (SDL_VIDEODRIVER=x11)"
  SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy PYGAME_HIDE_SUPPORT_PROMPT=1 \
    /usr/bin/python3 bench/pygame_scene.py x11 > out/bench_pygame_x11.csv ||
    { echo "pygame scene on x11 failed" >&2; exit 1; }
fi
/usr/bin/python3 bench/report.py --build=64-bit out/bench.csv out/bench.png out/bench_vorimage.csv \
  out/bench_pygame.csv out/bench_pygame_x11.csv || exit 1
echo "== chart: out/bench.png"
