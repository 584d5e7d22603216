# Cross build of the product for old machines: 32-bit Windows from XP SP3
# on, on any i686 processor (no SSE2: the Pentium III and Athlon XP lack it).
# The win32 thread model's runtime imports only what XP's kernel has, and the
# image says it needs Windows 5.01 (XP) rather than the linker's 6.0.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TESSARY_MINGW_TRIPLE i686-w64-mingw32)
set(TESSARY_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT
  " -Wl,--major-subsystem-version,5,--minor-subsystem-version,1"
  " -Wl,--major-os-version,5,--minor-os-version,1")
# x87 arithmetic with the FPU set to double precision at start-up (CRT_fp8.o,
# instead of the runtime's extended precision): doubles round as with SSE2 on
# x86_64, so a fixed seed replays the same animation in every build.
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " /usr/${TESSARY_MINGW_TRIPLE}/lib/CRT_fp8.o")
