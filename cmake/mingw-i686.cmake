# Cross toolchain: 32-bit Windows through MinGW-w64, tests run under wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VOR_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
