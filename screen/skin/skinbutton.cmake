# The skinned push button: image choice, caption font, mouse tracking, check states.
pio_core_library(screen_skinbutton_core SOURCES skinbutton_core.cpp LIBS screen_language_core)
pio_native_test(skinbutton_core_tests SOURCES tests/skinbutton_core_tests.cpp
  LIBS screen_skinbutton_core)

if(PIO_WINDOWS)
  add_library(screen_skinbutton STATIC skinbutton.cpp)
  target_link_libraries(screen_skinbutton PUBLIC
    screen_skinbutton_core screen_images screen_language framework user32 gdi32)
  target_include_directories(screen_skinbutton PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

  pio_wine_test(skinbutton_tests
    SOURCES tests/skinbutton_tests.cpp tests/skinbutton_tests.rc
    LIBS screen_skinbutton pio_test_support gdiplus)
endif()
