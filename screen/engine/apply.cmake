# Applying the selection: the mode choice, the question texts and the order of
# the step (portable, tested over a recording fake of its effects), and the
# restart of Windows.
pio_core_library(screen_apply_core SOURCES apply_core.cpp
  LIBS screen_modecatalog_core screen_dpistore_core screen_language_core)
pio_native_test(apply_core_tests SOURCES tests/apply_core_tests.cpp LIBS screen_apply_core)

if(PIO_WINDOWS)
  add_library(screen_restart STATIC restart.cpp)
  target_include_directories(screen_restart PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(screen_restart PUBLIC advapi32 user32)
endif()
