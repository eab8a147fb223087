# PioScreen.exe: start-up and the main dialog.
if(NOT PIO_WINDOWS)
  return()
endif()

# The main dialog, shared by the program, its Wine tests and its timing program.
add_library(screen_maindlg STATIC
  previewmaindlg.cpp previewmaindlg_paint.cpp previewmaindlg_sliders.cpp mainapp.cpp
  preview_cache.cpp startup_phases.cpp)
target_include_directories(screen_maindlg PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(screen_maindlg PUBLIC framework broadcast
  screen_maindlg_core screen_modecatalog screen_language screen_images screen_contour
  screen_skinbutton screen_screenconfig screen_tvpicture screen_registry
  comctl32 msimg32 shlwapi)

set(PIO_SCREEN_RC ${CMAKE_CURRENT_SOURCE_DIR}/../res/PioScreen.rc)
set_source_files_properties(${PIO_SCREEN_RC} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/../res/PioScreen.manifest")

# An executable that carries the dialog's resources and, beside it, the skin's
# image folders, as the program finds them when installed.
function(pio_screen_executable target)
  target_sources(${target} PRIVATE ${PIO_SCREEN_RC})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../res)
  pio_skin_resources(${target})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PIO_SKIN_DIR}/res $<TARGET_FILE_DIR:${target}>/res)
endfunction()

add_executable(PioScreen WIN32 main.cpp)
target_link_libraries(PioScreen PRIVATE framework_winmain screen_maindlg)
pio_screen_executable(PioScreen)
pio_deliverable(PioScreen DESTINATION PioScreen)

pio_wine_test(maindlg_tests
  SOURCES tests/maindlg_tests.cpp tests/maindlg_pages_tests.cpp tests/maindlg_fixture.cpp
  LIBS screen_maindlg pio_test_support)
if(TARGET maindlg_tests)
  pio_screen_executable(maindlg_tests)
endif()

# Prints start-up, preview and repaint figures of the real dialog under Wine.
add_executable(pioscreen_timing bench/pioscreen_timing.cpp)
target_link_libraries(pioscreen_timing PRIVATE screen_maindlg)
pio_screen_executable(pioscreen_timing)
if(PIO_RUN_TESTS)
  add_test(NAME pioscreen_timing COMMAND pioscreen_timing)
  set_tests_properties(pioscreen_timing PROPERTIES LABELS wine TIMEOUT 120)
endif()

# Start-up as a person sees it, against a bare window: the installed program and
# the baseline started alternately from outside, medians and their ratio printed.
add_executable(bare_window WIN32 bench/bare_window.cpp)
add_executable(pioscreen_startup bench/startup_launcher.cpp)
target_link_libraries(pioscreen_startup PRIVATE pio_test_support)
pio_e2e_test(pioscreen_startup
  COMMAND pioscreen_startup $<TARGET_FILE:bare_window> ${CMAKE_INSTALL_PREFIX}/PioScreen/PioScreen.exe 8
  TIMEOUT 300)

add_subdirectory(${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e ${CMAKE_CURRENT_BINARY_DIR}/e2e)
