# Shared by the project scripts: install what is missing, build, and give wine a display.
# Source it; it defines functions only.

VOR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VOR_PACKAGES=(wine wine32:i386 wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 xvfb xauth cmake make
              g++ doctest-dev fonts-dejavu-core fonts-liberation imagemagick xdotool libstb-dev procps
              python3-pil clang lld libclang-rt-14-dev)

# What scripts/bench.sh needs besides: the peer library and the chart maker, for Debian's python3.
VOR_BENCH_PACKAGES=(python3-pygame python3-matplotlib)

vor_install_bench() {
  /usr/bin/python3 -c "import pygame, matplotlib" >/dev/null 2>&1 && return 0
  echo "== installing ${VOR_BENCH_PACKAGES[*]}"
  vor_apt_install "${VOR_BENCH_PACKAGES[@]}" || { echo "installing ${VOR_BENCH_PACKAGES[*]} failed" >&2; return 1; }
}

# vor_apt_install PACKAGE...: installs a script's own tools, as root or through sudo. A fresh machine
# may have no package lists yet: they are fetched when the first try fails.
vor_apt_install() {
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get install -y -q --no-install-recommends "$@" && return 0
  $sudo apt-get update -q || true
  $sudo apt-get install -y -q --no-install-recommends "$@" ||
    $sudo apt-get install -y -q --no-install-recommends -t bookworm "$@"
}

vor_missing() {
  local missing=0
  command -v wine >/dev/null || missing=1
  command -v i686-w64-mingw32-g++-posix >/dev/null || missing=1
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing=1
  command -v Xvfb >/dev/null || missing=1
  command -v xauth >/dev/null || missing=1
  command -v cmake >/dev/null || missing=1
  command -v make >/dev/null || missing=1
  command -v g++ >/dev/null || missing=1
  command -v convert >/dev/null || missing=1
  command -v xdotool >/dev/null || missing=1
  command -v pkill >/dev/null || missing=1
  command -v clang++ >/dev/null || missing=1   # libFuzzer pass; C hosts built by a second compiler
  command -v ld.lld >/dev/null || missing=1
  command -v lld-link >/dev/null || missing=1
  compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null || missing=1
  /usr/bin/python3 -c 'import PIL' >/dev/null 2>&1 || missing=1
  [ -f /usr/include/doctest/doctest.h ] || missing=1
  [ -f /usr/include/stb/stb_image.h ] || missing=1
  [ -d /usr/share/fonts/truetype/dejavu ] || missing=1
  [ -d /usr/share/fonts/truetype/liberation ] || missing=1
  dpkg -s wine32:i386 >/dev/null 2>&1 || missing=1
  return $((1 - missing))
}

vor_install() {
  vor_missing || return 0
  echo "== installing build and test tools (first run only)"
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo dpkg --add-architecture i386
  # A mirror caught mid-sync can fail one index; the install below copes with that.
  $sudo apt-get update -q || true
  if ! $sudo apt-get install -y -q --no-install-recommends "${VOR_PACKAGES[@]}"; then
    # Keep amd64 and i386 on one release so multi-arch versions match when an index is missing.
    $sudo apt-get install -y -q --no-install-recommends -t bookworm "${VOR_PACKAGES[@]}" || {
      echo "installing ${VOR_PACKAGES[*]} failed" >&2; return 1; }
  fi
}

# vor_build BUILD_DIR TOOLCHAIN_FILE
vor_build() {
  local dir="$1" toolchain="$2"
  cmake -S "$VOR_ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release >/dev/null || return 1
  cmake --build "$dir" -j "$(nproc)" || return 1
}

# Starts a private Xvfb unless a display is already set; exports DISPLAY.
vor_start_display() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${VOR_FORCE_XVFB:-}" ]; then return 0; fi
  local fdfile
  fdfile="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  VOR_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}

# True when this machine can run 32-bit programs (some kernels boot with 32-bit emulation off).
vor_can_run_32bit() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

vor_stop_display() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  [ -n "${VOR_XVFB_PID:-}" ] && kill "$VOR_XVFB_PID" >/dev/null 2>&1
  return 0
}
