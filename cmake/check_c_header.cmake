# Fails unless the C header compiles alone as C89, as C99 (both -pedantic-errors, warnings as
# errors) and as C++.
# Usage: cmake -DCC=... -DCXX=... -DHEADER=.../VorImage4C.h -P check_c_header.cmake
foreach(mode "${CC};-std=c89;-x;c" "${CC};-std=c99;-x;c" "${CXX};-std=c++98;-x;c++" "${CXX};-std=c++17;-x;c++")
  execute_process(COMMAND ${mode} -pedantic-errors -Wall -Wextra -Werror -fsyntax-only ${HEADER}
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${HEADER} does not compile with ${mode}:\n${err}")
  endif()
endforeach()
message(STATUS "${HEADER} compiles as C89, C99, C++98 and C++17")
