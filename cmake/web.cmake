# The web page: the portable part of src/web (query options, the page's show
# and clock, the fit into the window) for every non-Windows build, and, built
# with emscripten, the page itself in ${CMAKE_BINARY_DIR}/site: index.html,
# page.js, tessary.js and tessary.wasm with the sprite sheet inside.
file(GLOB TESSARY_PAGE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/web/*.cpp)
list(FILTER TESSARY_PAGE_SOURCES EXCLUDE REGEX "_web\\.cpp$")
add_library(tessary_page STATIC ${TESSARY_PAGE_SOURCES})
target_link_libraries(tessary_page PUBLIC tessary_show)

file(GLOB TESSARY_PAGE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/web/*_test.cpp)
add_executable(tessary_page_tests ${TESSARY_PAGE_TESTS})
target_link_libraries(tessary_page_tests PRIVATE tessary_page GTest::gtest_main)
add_test(NAME page COMMAND tessary_page_tests --gtest_brief=1)
set_tests_properties(page PROPERTIES LABELS unit)

if(NOT EMSCRIPTEN)
  # The frame that the page shows after N frames, for the end-to-end test.
  add_executable(page_frame_hash tests/web/page_frame_hash.cpp)
  target_link_libraries(page_frame_hash PRIVATE tessary_page)
  # End to end in headless Chromium: the site of the web preset's build.
  set(TESSARY_WEB_SITE ${CMAKE_SOURCE_DIR}/build/web/site CACHE PATH
    "The built site that the end-to-end test of the page opens")
  add_test(NAME web-e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/e2e.sh
    ${TESSARY_WEB_SITE} $<TARGET_FILE:page_frame_hash>)
  set_tests_properties(web-e2e PROPERTIES LABELS web TIMEOUT 300)
  return()
endif()

set(TESSARY_SITE ${CMAKE_BINARY_DIR}/site)
add_executable(tessary_web ${CMAKE_SOURCE_DIR}/src/web/page_web.cpp)
target_link_libraries(tessary_web PRIVATE tessary_page)
set_target_properties(tessary_web PROPERTIES OUTPUT_NAME tessary SUFFIX .js
  RUNTIME_OUTPUT_DIRECTORY ${TESSARY_SITE})
# A fixed heap (the sheet, its 32-bit copy and the frame take under 8 MB), so
# that the page's view of the frame never goes stale; no main, no file system.
target_link_options(tessary_web PRIVATE --no-entry -sINITIAL_MEMORY=33554432
  -sALLOW_MEMORY_GROWTH=0 -sFILESYSTEM=0 -sENVIRONMENT=web
  "-sEXPORTED_FUNCTIONS=_tessary_start,_tessary_frame,_tessary_width,_tessary_height,_tessary_state,_tessary_pause,_tessary_input,_tessary_fit"
  "-sEXPORTED_RUNTIME_METHODS=ccall")
foreach(file index.html page.js)
  add_custom_command(OUTPUT ${TESSARY_SITE}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/src/web/${file} ${TESSARY_SITE}/${file}
    DEPENDS ${CMAKE_SOURCE_DIR}/src/web/${file})
  list(APPEND TESSARY_SITE_FILES ${TESSARY_SITE}/${file})
endforeach()
add_custom_target(tessary_site ALL DEPENDS ${TESSARY_SITE_FILES} tessary_web)
