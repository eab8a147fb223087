# Language binding: the maker's language library beside the program, the current
# language and the program's texts in it; and bringing a window to the front.
pio_core_library(screen_language_core SOURCES language_names.cpp)

if(PIO_WINDOWS)
  add_library(screen_language STATIC language.cpp)
  target_link_libraries(screen_language PUBLIC screen_language_core user32)
  target_include_directories(screen_language PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
endif()

if(PIO_RUN_TESTS)
  # A library of the same name that counts its calls and answers as each test
  # needs, in a folder of its own.
  add_library(language_probe SHARED tests/language_probe.cpp tests/language_probe.def)
  set_target_properties(language_probe PROPERTIES PREFIX "" OUTPUT_NAME DiZovadAzir
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/language_probe)
  pio_wine_test(language_tests SOURCES tests/language_tests.cpp LIBS screen_language pio_test_support)
  add_dependencies(language_tests language_probe)
endif()
