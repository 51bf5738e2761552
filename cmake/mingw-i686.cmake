# Cross toolchain: 32-bit Windows through MinGW-w64, tests run under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VOR_TRIPLET i686-w64-mingw32)
# The -posix flavour has std::mutex/std::thread, which doctest wants.
find_program(CMAKE_C_COMPILER NAMES ${VOR_TRIPLET}-gcc-posix ${VOR_TRIPLET}-gcc)
find_program(CMAKE_CXX_COMPILER NAMES ${VOR_TRIPLET}-g++-posix ${VOR_TRIPLET}-g++)
find_program(CMAKE_RC_COMPILER NAMES ${VOR_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VOR_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
