# Favourites file: its text (portable core) and its place on disk (Windows).
pio_core_library(screen_screenconfig_core SOURCES screenconfig_core.cpp)
pio_native_test(screenconfig_core_tests SOURCES tests/screenconfig_core_tests.cpp
  LIBS screen_screenconfig_core)
pio_fuzz_target(screenconfig_fuzz SOURCES tests/screenconfig_fuzz.cpp
  LIBS screen_screenconfig_core
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/screenconfig_seed_written.ini
        ${CMAKE_CURRENT_SOURCE_DIR}/tests/screenconfig_seed_odd.ini)

if(PIO_WINDOWS)
  add_library(screen_screenconfig STATIC screenconfig.cpp)
  target_link_libraries(screen_screenconfig PUBLIC screen_screenconfig_core framework)
  target_include_directories(screen_screenconfig PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

  pio_wine_test(screenconfig_tests SOURCES tests/screenconfig_tests.cpp
    LIBS screen_screenconfig pio_test_support)
endif()
