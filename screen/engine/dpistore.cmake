# Storing the DPI choice as the request for KvSrcHelper: the decisions (portable)
# and the store that writes them.
pio_core_library(screen_dpistore_core SOURCES dpistore_core.cpp LIBS screen_registry_core)
pio_native_test(dpistore_core_tests
  SOURCES tests/dpistore_core_tests.cpp
  LIBS screen_dpistore_core)

if(PIO_WINDOWS)
  add_library(screen_dpistore STATIC dpistore.cpp)
  target_include_directories(screen_dpistore PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(screen_dpistore PUBLIC screen_dpistore_core screen_registry)
  pio_wine_test(dpistore_tests
    SOURCES tests/dpistore_tests.cpp
    LIBS screen_dpistore shlwapi)
endif()
