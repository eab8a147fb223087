# TV picture size: the adjustable display and the slider (portable core), the
# process-wide binding of the vendor's display library (Windows).
pio_core_library(screen_tvpicture_core SOURCES tvpicture_core.cpp)
pio_native_test(tvpicture_core_tests SOURCES tests/tvpicture_core_tests.cpp
  LIBS screen_tvpicture_core)

if(PIO_WINDOWS)
  add_library(screen_tvpicture STATIC tvpicture.cpp)
  target_link_libraries(screen_tvpicture PUBLIC screen_tvpicture_core screen_modecatalog)
  target_include_directories(screen_tvpicture PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

  # Runs against the stand-in library; standins/atipdlxx tells it where that is.
  pio_wine_test(tvpicture_tests SOURCES tests/tvpicture_tests.cpp
    LIBS screen_tvpicture pio_test_support)
endif()
