# tessary-x11, the XScreenSaver hack: the show of the portable core drawn
# with Xlib. Included by the top-level CMakeLists.txt for Linux builds only.
# The show it draws is the portable library tessary_show (cmake/show.cmake);
# files ending in _x11.cpp call Xlib and make the program.
find_package(X11)
if(NOT (X11_FOUND AND X11_Xext_FOUND AND X11_XShm_INCLUDE_PATH))
  message(STATUS "tessary-x11 is not built: it needs libx11-dev and libxext-dev")
  return()
endif()
file(GLOB TESSARY_X11_FRONT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/x11/*_x11.cpp)
add_executable(tessary-x11 ${TESSARY_X11_FRONT_SOURCES})
target_link_libraries(tessary-x11 PRIVATE tessary_show X11::X11 X11::Xext)

# `cmake --install`: the program, its manual page, and its settings file where
# xscreensaver-settings looks for it, named after the program as it expects.
set(TESSARY_XSCREENSAVER_CONFIG_DIR /usr/share/xscreensaver/config CACHE PATH
  "Folder of XScreenSaver's hack settings files (tessary.xml goes there)")
include(GNUInstallDirs)
install(TARGETS tessary-x11 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Its sliders span the settings' own ranges, which the settings table holds.
set(TESSARY_SETTINGS_TABLE ${CMAKE_SOURCE_DIR}/src/settings/settings_table.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TESSARY_SETTINGS_TABLE})
file(READ ${TESSARY_SETTINGS_TABLE} TESSARY_TABLE_TEXT)
foreach(slider SelfRotation:SELF_ROTATION Moving:MOVING Process:PROCESS)
  string(REPLACE ":" ";" slider ${slider})
  list(GET slider 0 name)
  list(GET slider 1 var)
  if(NOT TESSARY_TABLE_TEXT MATCHES "k${name}Slider = {([0-9]+), ([0-9]+),")
    message(FATAL_ERROR "no range for ${name} in ${TESSARY_SETTINGS_TABLE}")
  endif()
  set(TESSARY_${var}_MIN ${CMAKE_MATCH_1})
  set(TESSARY_${var}_MAX ${CMAKE_MATCH_2})
endforeach()
# Its manual page, which the settings dialog's Documentation button opens.
install(FILES ${CMAKE_SOURCE_DIR}/src/x11/tessary-x11.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
configure_file(${CMAKE_SOURCE_DIR}/src/x11/tessary.xml.in ${CMAKE_BINARY_DIR}/tessary.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/tessary.xml
  DESTINATION ${TESSARY_XSCREENSAVER_CONFIG_DIR} RENAME tessary-x11.xml)

# End to end: the real daemon in Xvfb, as a throw-away user (needs root).
add_executable(x11_probe tests/x11/x11_probe.cpp)
target_link_libraries(x11_probe PRIVATE tessary_options X11::X11)
add_test(NAME x11-e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tests/x11/e2e.sh
  $<TARGET_FILE:tessary-x11> $<TARGET_FILE:x11_probe> ${CMAKE_BINARY_DIR})
set_tests_properties(x11-e2e PROPERTIES LABELS x11 TIMEOUT 300)

# Speed of one frame (Google Benchmark, when installed): see the file's head.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(tessary_x11_bench EXCLUDE_FROM_ALL tests/bench/x11_frame_bench.cpp)
  target_link_libraries(tessary_x11_bench PRIVATE tessary_show X11::X11 X11::Xext
    benchmark::benchmark)
endif()
