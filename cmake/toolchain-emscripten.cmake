# The web preset: Debian's emscripten tool chain (used directly, not through
# emcmake), with work-arounds for the Node.js it runs on.

# Test programs run under Node.js. The generated loader fetches the .wasm with
# fetch() when it exists, which Node.js 18 and later have but which cannot
# read a file path there: --no-experimental-fetch makes it read the file.
# emcmake's own runner adds --experimental-wasm-threads, which Node.js 20
# refuses; set before the tool chain's file, which then keeps it.
find_program(TESSARY_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TESSARY_NODE} --no-experimental-fetch CACHE STRING
  "Runs the test programs" FORCE)

include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# em++ runs JavaScript passes that need the acorn parser, which Debian keeps
# in /usr/share/nodejs; a Node.js that is not Debian's does not look there.
set(TESSARY_NODE_PATH /usr/share/nodejs)
set(ENV{NODE_PATH} ${TESSARY_NODE_PATH})  # for the compiler checks made now
foreach(launcher CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER CMAKE_CXX_LINKER_LAUNCHER)
  set(${launcher} env NODE_PATH=${TESSARY_NODE_PATH})
endforeach()

# Test programs may grow their heap (the page fixes its own, cmake/web.cmake).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-sALLOW_MEMORY_GROWTH=1")
