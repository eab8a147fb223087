# Contour bitmaps: frame bitmaps that draw themselves and give their window region.
pio_core_library(screen_contour_core SOURCES contour_core.cpp)
pio_native_test(contour_core_tests SOURCES tests/contour_core_tests.cpp
  LIBS screen_contour_core)

if(PIO_WINDOWS)
  add_library(screen_contour STATIC contour.cpp)
  target_link_libraries(screen_contour PUBLIC screen_contour_core framework gdi32)
  target_include_directories(screen_contour PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

  pio_wine_test(contour_tests SOURCES tests/contour_tests.cpp LIBS screen_contour pio_test_support)

  # The region of a 1024 x 576 frame three ways: ours, the per-pixel reference,
  # and one plain read of the pixels. Prints its figures; fails only when the
  # regions differ.
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(frame_bmp ${CMAKE_CURRENT_BINARY_DIR}/bench/contour_bench_frame.bmp)
  add_custom_command(OUTPUT ${frame_bmp}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/bench/make_frame_bmp.py ${frame_bmp}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/bench/make_frame_bmp.py
    COMMENT "Drawing the benchmark's frame bitmap")
  configure_file(bench/contour_bench.rc.in ${CMAKE_CURRENT_BINARY_DIR}/bench/contour_bench.rc @ONLY)
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/bench/contour_bench.rc
    PROPERTIES OBJECT_DEPENDS ${frame_bmp})
  pio_wine_test(contour_bench
    SOURCES bench/contour_bench.cpp ${CMAKE_CURRENT_BINARY_DIR}/bench/contour_bench.rc
    LIBS pio_test_support screen_contour)
endif()
