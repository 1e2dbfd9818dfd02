# The 32-bit build with clang instead of g++.
include(${CMAKE_CURRENT_LIST_DIR}/i686-w64-mingw32.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-clang.cmake)
