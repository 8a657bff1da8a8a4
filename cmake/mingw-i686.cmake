# Cross-compiles the 32-bit Windows program with Debian's MinGW-w64 for i686.
# The POSIX thread model gives the standard library its threads and mutexes
# (linked statically, so no winpthread DLL is needed next to the program).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(EMR_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${EMR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${EMR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${EMR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${EMR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine, in a prefix of the build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
