# The DPI registry values shared by PioScreen and KvSrcHelper: their names and
# usable bounds (portable), and the two one-value classes (Windows). KvSrcHelper
# links screen_registry too; neither program loads the other.
pio_core_library(screen_registry_core SOURCES registry_dpi.cpp)
pio_native_test(registry_core_tests
  SOURCES tests/registry_core_tests.cpp
  LIBS screen_registry_core)

if(PIO_WINDOWS)
  add_library(screen_registry STATIC dwordreg.cpp)
  target_include_directories(screen_registry PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(screen_registry PUBLIC screen_registry_core advapi32)
  pio_wine_test(registry_tests
    SOURCES tests/registry_tests.cpp
    LIBS screen_registry shlwapi)
endif()
