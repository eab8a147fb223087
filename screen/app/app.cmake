# PioScreen.exe: start-up and the main dialog.
if(NOT PIO_WINDOWS)
  return()
endif()

# The main dialog, shared by the program, its Wine tests and its timing program.
add_library(screen_maindlg STATIC
  previewmaindlg.cpp previewmaindlg_paint.cpp previewmaindlg_skin.cpp previewmaindlg_sliders.cpp previewmaindlg_apply.cpp
  previewmaindlg_firstframe.cpp previewmaindlg_favourites.cpp
  mainapp.cpp preview_cache.cpp startup_phases.cpp)
target_include_directories(screen_maindlg PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(screen_maindlg PUBLIC framework broadcast
  screen_maindlg_core screen_modecatalog screen_language screen_images screen_contour
  screen_skinbutton screen_msgbox screen_screenconfig screen_tvpicture screen_registry
  screen_dpistore screen_apply_core screen_restart
  comctl32)

add_executable(PioScreen WIN32 main.cpp)
target_link_libraries(PioScreen PRIVATE framework_winmain screen_maindlg)
pio_screen_executable(PioScreen)
pio_deliverable(PioScreen DESTINATION PioScreen)

pio_wine_test(maindlg_tests
  SOURCES tests/maindlg_tests.cpp tests/maindlg_pages_tests.cpp tests/maindlg_fixture.cpp
  LIBS screen_maindlg pio_test_support)
pio_wine_test(maindlg_safety_tests SOURCES tests/maindlg_safety_tests.cpp tests/maindlg_fixture.cpp
  LIBS screen_maindlg pio_test_support)
foreach(t maindlg_tests maindlg_safety_tests)
  if(TARGET ${t})
    pio_screen_executable(${t})
  endif()
endforeach()

# Prints start-up, preview and repaint figures of the real dialog under Wine.
add_executable(pioscreen_timing bench/pioscreen_timing.cpp)
target_link_libraries(pioscreen_timing PRIVATE screen_maindlg)
pio_screen_executable(pioscreen_timing)
if(PIO_RUN_TESTS)
  add_test(NAME pioscreen_timing COMMAND pioscreen_timing)
  set_tests_properties(pioscreen_timing PROPERTIES LABELS "wine;timing" TIMEOUT 120)
endif()

# Start-up as a person sees it, against a bare window: the installed program and
# the baseline started alternately from outside, medians and their ratio printed.
# 32 runs each: on a shared machine the median of 16 still moved by 5% from one
# run of the test command to the next.
add_executable(bare_window WIN32 bench/bare_window.cpp)
add_executable(pioscreen_startup bench/startup_launcher.cpp)
target_link_libraries(pioscreen_startup PRIVATE pio_test_support)
pio_e2e_test(pioscreen_startup
  COMMAND pioscreen_startup $<TARGET_FILE:bare_window> ${CMAKE_INSTALL_PREFIX}/PioScreen/PioScreen.exe 32 1.5
  TIMEOUT 300)
# The same measure for a bare window with as many child windows as the dialog:
# the part of the start-up that the number of controls alone costs under Wine.
add_executable(bare_window_children WIN32 bench/bare_window.cpp)
target_compile_definitions(bare_window_children PRIVATE PIO_BARE_CHILDREN)
pio_e2e_test(pioscreen_startup_children
  COMMAND pioscreen_startup $<TARGET_FILE:bare_window> $<TARGET_FILE:bare_window_children> 16
  TIMEOUT 300)
# Start-up figures are taken on a machine doing nothing else (the test command
# runs them once the other flavours are built and tested): the more windows a
# program makes, the more a busy machine slows it against a bare window, so a
# ratio taken under load says more about the load than about the program.
if(PIO_RUN_TESTS)
  set_property(TEST pioscreen_startup pioscreen_startup_children APPEND PROPERTY LABELS timing)
endif()

add_subdirectory(${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e ${CMAKE_CURRENT_BINARY_DIR}/e2e)
