# Cross-compiling the Win32 build for i686 (32-bit) with Debian's mingw-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TARNIX_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TARNIX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNIX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNIX_MINGW_PREFIX}-windres)
set(CMAKE_DLLTOOL ${TARNIX_MINGW_PREFIX}-dlltool)
# Doubles in SSE2 registers, as in the x86-64 build: the x87 unit's 80-bit intermediates would
# round fits (and so reports and records) differently from the 64-bit build.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_FIND_ROOT_PATH /usr/${TARNIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
