# The show composed in memory, apart from any window system: options, the
# embedded sheet, frame composition and the show driver. tessary-x11 and the
# web page draw its frames. Included by the top-level CMakeLists.txt for
# builds that are not Windows.
file(GLOB TESSARY_SHOW_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/show/*.cpp)
add_library(tessary_show STATIC ${TESSARY_SHOW_SOURCES})
target_link_libraries(tessary_show PUBLIC tessary_core)
# The FULLCOLOR artwork is assembled into the program (.incbin).
set(TESSARY_SHEET_FILE ${CMAKE_SOURCE_DIR}/src/resources/FULLCOLOR.bmp)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/show/embedded_sheet.cpp PROPERTIES
  COMPILE_DEFINITIONS "TESSARY_SHEET_FILE=\"${TESSARY_SHEET_FILE}\""
  OBJECT_DEPENDS ${TESSARY_SHEET_FILE})

file(GLOB TESSARY_SHOW_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/show/*_test.cpp)
add_executable(tessary_show_tests ${TESSARY_SHOW_TESTS})
target_link_libraries(tessary_show_tests PRIVATE tessary_show GTest::gtest_main)
add_test(NAME show COMMAND tessary_show_tests --gtest_brief=1)
set_tests_properties(show PROPERTIES LABELS unit)
