#!/bin/bash
# Builds C hosts of VorImage4 with a second compiler and linker - Debian's clang and lld - and runs
# them under wine when this machine can run that architecture:
#   test_capi (the C interface test) and sprite_scene_c (an example), clang --target=<triplet> -fuse-ld=lld;
#   msvc_host, clang --target=<arch>-pc-windows-msvc linked by lld-link (the Visual C++ ABI).
#   scripts/clang-hosts.sh BUILD_DIR TRIPLET     (the build's DLL, import libraries and test DLLs are used)
set -eu
build="$1"; triplet="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/common.sh"
root="$here/.."
bin="$build/bin"; lib="$build/lib"
arch="${triplet%%-*}"
out="$build/clang"
mkdir -p "$out"
# Debian names MinGW's gcc library directory 12-posix, which clang's driver does not find by itself.
gcclib="$(dirname "$("$triplet-gcc-posix" -print-libgcc-file-name)")"
mingw=(clang --target="$triplet" -fuse-ld=lld -L"$gcclib" -std=c99 -Wall -Wextra -Werror -O1 -I"$root/include")

"$triplet-windres" -I"$root/tests/data" -O coff "$root/tests/data/test_resources.rc" -o "$out/test_resources.o"
"${mingw[@]}" -I"$root/tests/capi" "$root/tests/capi/test_capi.c" "$out/test_resources.o" \
  "$lib/libVorImage4.dll.a" "$lib/libcapi_reference.dll.a" -o "$bin/test_capi_clang.exe"
"${mingw[@]}" "$root/examples/c/sprite_scene.c" "$lib/libVorImage4.dll.a" -o "$bin/sprite_scene_clang.exe"
clang --target="$arch-pc-windows-msvc" -std=c89 -Wall -Wextra -Werror -O1 -I"$root/include" \
  -c "$root/tests/capi/msvc_host.c" -o "$out/msvc_host.obj"
# MinGW's import objects carry no SafeSEH table, which lld-link asks for on i686 unless told not to.
safeseh=(); [ "$arch" = i686 ] && safeseh=(/safeseh:no)
lld-link /nologo /subsystem:console /nodefaultlib /entry:HostStart "${safeseh[@]}" "$out/msvc_host.obj" "$lib/libVorImage4.dll.a" \
  "/usr/$triplet/lib/libkernel32.a" /out:"$bin/msvc_host.exe"
for exe in test_capi_clang sprite_scene_clang msvc_host; do
  echo "$exe.exe: $("$triplet-objdump" -p "$bin/$exe.exe" | grep -m1 -o 'file format [^ ]*')," \
       "imports $("$triplet-objdump" -p "$bin/$exe.exe" | grep -o 'DLL Name: .*' | cut -c11- | tr '\n' ' ')"
done
if [ "$arch" = i686 ] && ! vor_can_run_32bit; then
  echo "built, not run: this machine cannot run 32-bit programs"
  exit 0
fi
cd "$bin"
result="$("$here/wine-run.sh" ./test_capi_clang.exe 2>&1)"
echo "$result" | tail -3
echo "$result" | grep -q "checks, 0 failed"
result="$("$here/wine-run.sh" ./sprite_scene_clang.exe 30 2>&1)"
echo "$result"
echo "$result" | grep -q "sprite_scene: 30 frames"
result="$("$here/wine-run.sh" ./msvc_host.exe 2>&1)"
echo "$result"
echo "$result" | grep -q "msvc_host: sprite frame drawn, pixels as expected"
