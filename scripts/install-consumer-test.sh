#!/bin/bash
# Installs a build into a staging prefix, builds the examples/ hosts against it as a separate
# project (find_package(VorImage4)), and runs the examples under wine when this machine can run
# that architecture.
#   scripts/install-consumer-test.sh BUILD_DIR TOOLCHAIN_FILE
set -eu
build="$1"; toolchain="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
root="$here/.."
stage="$build/stage"
consumer="$build/examples"
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null
for f in include/VorImage4.h include/VorImage4C.h bin/VorImage4.dll lib/libVorImage4.dll.a lib/cmake/VorImage4/VorImage4Config.cmake \
         lib/cmake/VorImage4/VorImage4ConfigVersion.cmake; do
  [ -f "$stage/$f" ] || { echo "install tree lacks $f"; exit 1; }
done
cmake -S "$root/examples" -B "$consumer" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$stage" >/dev/null
cmake --build "$consumer" -j 2 >/dev/null
cp "$stage/bin/VorImage4.dll" "$consumer/"
echo "examples built against the install tree: $(cd "$consumer" && ls *.exe | tr '\n' ' ')"
if [[ "$toolchain" == *i686* ]] && ! vor_can_run_32bit; then
  echo "not run: this machine cannot run 32-bit programs"
  exit 0
fi
cd "$consumer"
# Each program twice: the C++ example and its C twin (NAME_c.exe), which must say the same.
for suffix in "" _c; do
  out="$("$here/wine-run.sh" ./hello_surface$suffix.exe 2>&1)"
  echo "$out"
  echo "$out" | grep -q "hello_surface: drew 64x64 picture"
  out="$("$here/wine-run.sh" ./sprite_scene$suffix.exe 50 2>&1)"
  echo "$out"
  echo "$out" | grep -q "sprite_scene: 50 frames"
  out="$("$here/wine-run.sh" ./buttons_panel$suffix.exe --auto 2>&1)"
  echo "$out"
  echo "$out" | grep -q "buttons_panel: faces 0 3 0"
  echo "$out" | grep -q "buttons_panel: Start clicked"
  echo "$out" | grep -q "buttons_panel: Exit clicked, 2 commands"
  if echo "$out" | grep -q "Options clicked"; then echo "a disabled button sent a command"; exit 1; fi
done
