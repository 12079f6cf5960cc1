# Cross-compiling for 64-bit Windows with Debian's mingw-w64. The -posix compilers have the
# threads of the C++ library (std::thread, std::mutex); the -win32 ones do not.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(HOPLIN_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${HOPLIN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HOPLIN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${HOPLIN_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HOPLIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The tests run under Wine, in a prefix of the build's own (tests/windows/wine_prefix.cmake
# makes it), without Wine's notices.
set(CMAKE_CROSSCOMPILING_EMULATOR
  ${CMAKE_COMMAND} -E env WINEDEBUG=-all WINEPREFIX=${CMAKE_BINARY_DIR}/wine wine)
