# The 64-bit build with clang instead of g++, to run its tests where 32-bit
# programs cannot run.
include(${CMAKE_CURRENT_LIST_DIR}/x86_64-w64-mingw32.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-clang.cmake)
