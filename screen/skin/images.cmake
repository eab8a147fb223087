# Image files to bitmaps (GDI+), and the bitmap operations of the main dialog.
pio_core_library(screen_images_core SOURCES images_core.cpp)
pio_native_test(images_core_tests SOURCES tests/images_core_tests.cpp
  LIBS screen_images_core)
pio_fuzz_target(images_header_fuzz SOURCES tests/images_header_fuzz.cpp
  LIBS screen_images_core)

if(PIO_WINDOWS)
  add_library(screen_images STATIC images.cpp)
  target_link_libraries(screen_images PUBLIC screen_images_core framework gdi32 user32)
  target_include_directories(screen_images PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

  pio_wine_test(images_tests SOURCES tests/images_tests.cpp LIBS screen_images pio_test_support gdiplus ole32)
endif()
