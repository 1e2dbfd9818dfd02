# The posix thread model: GoogleTest needs std::mutex, which the win32 one lacks.
set(CMAKE_C_COMPILER ${KEL_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KEL_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KEL_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KEL_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs the test programs through Wine.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "AMD64")
    set(KEL_WINE_ARCH win64 CACHE INTERNAL "Wine prefix architecture for the tests")
else()
    set(KEL_WINE_ARCH win32 CACHE INTERNAL "Wine prefix architecture for the tests")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
