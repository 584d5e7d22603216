# The thread model of the runtime: posix unless the toolchain file picks
# win32, whose runtime imports nothing newer than Windows XP.
if(NOT TESSARY_MINGW_THREADS)
  set(TESSARY_MINGW_THREADS posix)
endif()
set(CMAKE_C_COMPILER ${TESSARY_MINGW_TRIPLE}-gcc-${TESSARY_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${TESSARY_MINGW_TRIPLE}-g++-${TESSARY_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${TESSARY_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TESSARY_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Every program carries its own C and C++ runtime, so it runs on a bare
# Windows and under Wine without the mingw DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# ctest runs the Windows test programs under Wine: the 32-bit ones through
# Debian's wrapper, the 64-bit ones through the 64-bit loader itself, which
# also runs on hosts that run 64-bit programs only (scripts/host-env).
if(TESSARY_MINGW_TRIPLE MATCHES "^x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/wine)
endif()
