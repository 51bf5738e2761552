# Shared by the MinGW-w64 toolchain files; VOR_TRIPLET and CMAKE_SYSTEM_PROCESSOR are set first.
set(CMAKE_SYSTEM_NAME Windows)
# The -posix flavour has std::mutex/std::thread, which doctest wants.
find_program(CMAKE_C_COMPILER NAMES ${VOR_TRIPLET}-gcc-posix ${VOR_TRIPLET}-gcc)
find_program(CMAKE_CXX_COMPILER NAMES ${VOR_TRIPLET}-g++-posix ${VOR_TRIPLET}-g++)
find_program(CMAKE_RC_COMPILER NAMES ${VOR_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VOR_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# ctest runs every test program under wine (wine-run.sh picks wine or wine64 by the program's machine).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
