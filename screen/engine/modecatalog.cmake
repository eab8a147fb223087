# Display mode catalogue: the size list, the mode in force, the full-HD test.
pio_core_library(screen_modecatalog_core SOURCES modecatalog_core.cpp)
pio_native_test(modecatalog_core_tests SOURCES tests/modecatalog_core_tests.cpp
  LIBS screen_modecatalog_core)

if(PIO_WINDOWS)
  add_library(screen_modecatalog STATIC modecatalog.cpp)
  target_link_libraries(screen_modecatalog PUBLIC screen_modecatalog_core user32 gdi32)
  target_include_directories(screen_modecatalog PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

  # A console tool that prints the catalogue of the display it runs on.
  add_executable(modelist modelist.cpp)
  target_link_libraries(modelist PRIVATE screen_modecatalog)
  install(TARGETS modelist RUNTIME DESTINATION testkit)

  pio_wine_test(modecatalog_tests SOURCES tests/modecatalog_tests.cpp LIBS screen_modecatalog)
endif()
