# Helpers shared by every folder of the suite.
#
#   PIO_WINDOWS      building Windows binaries (win64 or win32 preset)
#   PIO_RUN_TESTS    Windows test programs are built and run under wine64 (win64)
#   PIO_HOST         native build: portable cores and their tests only
#
#   pio_core_library(name SOURCES...)          portable code, no <windows.h>; every preset
#   pio_native_test(name SOURCES... LIBS ...)  GoogleTest on the host, sanitizers on
#   pio_wine_test(name SOURCES... LIBS ...)    GoogleTest built with mingw, run by wine64
#   pio_e2e_test(name COMMAND ...)             a whole-program scenario under Wine
#   pio_benchmark(name SOURCES... [INCLUDES])   Google Benchmark on the host, optimised,
#                                              without sanitizers; figures in the test log
#   pio_deliverable(target DESTINATION dir)    installed under dist/<preset>/dir and
#                                              checked for Windows XP imports (and exports)
#   pio_checked_binary(target [EXPORTS ...])   those checks alone

if(WIN32)
  set(PIO_WINDOWS ON)
  set(PIO_HOST OFF)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(PIO_RUN_TESTS ON)
  else()
    set(PIO_RUN_TESTS OFF)
  endif()
else()
  set(PIO_WINDOWS OFF)
  set(PIO_HOST ON)
  set(PIO_RUN_TESTS OFF)
endif()

set(PIO_WARNINGS -Wall -Wextra -Wno-cast-function-type)
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:${PIO_WARNINGS}>")

if(PIO_WINDOWS)
  enable_language(RC)
  # One code base for both flavours: nothing newer than Windows XP is called
  # directly; later functions are looked up at run time.
  add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600
                          NOMINMAX WIN32_LEAN_AND_MEAN STRICT)
  # No MinGW DLLs beside our programs on the user's machine.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

option(PIO_SANITIZE "AddressSanitizer and UndefinedBehaviorSanitizer (host)" OFF)
if(PIO_HOST AND PIO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

set(PIO_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/..)
get_filename_component(PIO_SOURCE_DIR ${PIO_SOURCE_DIR} ABSOLUTE)

# GoogleTest from Debian's source package, so the same version serves the host
# build and the mingw builds.
set(PIO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
macro(pio_need_gtest)
  if(NOT TARGET gtest_main)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    add_subdirectory(${PIO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(t gtest gtest_main)
      target_compile_options(${t} PRIVATE -w)
    endforeach()
    if(PIO_WINDOWS)
      target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
      target_compile_options(gtest PUBLIC
        "SHELL:-include ${PIO_SOURCE_DIR}/cmake/gtest-mingw/gtest_notification.h")
    endif()
  endif()
endmacro()

function(pio_core_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES} ${A_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
endfunction()

function(pio_native_test name)
  if(NOT PIO_HOST)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  pio_need_gtest()
  add_executable(${name} ${A_SOURCES} ${A_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} gtest_main)
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native TIMEOUT 120)
endfunction()

# One CTest entry per test program: each start of wine64 costs a fraction of a
# second, so cases are not split into processes. GoogleTest prints the cases.
# ARGS are given to the program (a --gtest_filter that leaves a benchmark case to
# an entry of its own, say).
function(pio_wine_test name)
  if(NOT PIO_RUN_TESTS)
    return()
  endif()
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;ARGS" ${ARGN})
  pio_need_gtest()
  add_executable(${name} ${A_SOURCES} ${A_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} gtest_main)
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 180)
  endif()
  add_test(NAME ${name} COMMAND ${name} ${A_ARGS})
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT ${A_TIMEOUT}
    ENVIRONMENT "PIO_BINARY_DIR=${CMAKE_BINARY_DIR};PIO_SOURCE_DIR=${PIO_SOURCE_DIR}")
endfunction()

function(pio_e2e_test name)
  if(NOT PIO_RUN_TESTS)
    return()
  endif()
  cmake_parse_arguments(A "" "TIMEOUT" "COMMAND" ${ARGN})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${A_COMMAND})
  set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT ${A_TIMEOUT}
    ENVIRONMENT "PIO_BINARY_DIR=${CMAKE_BINARY_DIR};PIO_SOURCE_DIR=${PIO_SOURCE_DIR};PIO_DIST_DIR=${CMAKE_INSTALL_PREFIX}")
endfunction()

# A Windows binary that ships. EXPORTS lists the exact export names a library must
# have (checked with objdump alongside the XP import check).
function(pio_deliverable target)
  cmake_parse_arguments(A "" "DESTINATION" "EXPORTS" ${ARGN})
  install(TARGETS ${target} RUNTIME DESTINATION ${A_DESTINATION})
  pio_checked_binary(${target} EXPORTS ${A_EXPORTS})
endfunction()

# The checks of a deliverable for a binary that ships inside another file (the
# release package's custom actions).
function(pio_checked_binary target)
  cmake_parse_arguments(A "" "" "EXPORTS" ${ARGN})
  set_property(GLOBAL APPEND PROPERTY PIO_DELIVERABLES "$<TARGET_FILE:${target}>")
  if(A_EXPORTS)
    string(REPLACE ";" "," exports "${A_EXPORTS}")
    set_property(GLOBAL APPEND PROPERTY PIO_EXPORT_CHECKS
      "$<TARGET_FILE:${target}>=${exports}")
  endif()
endfunction()

function(pio_finish)
  if(NOT PIO_WINDOWS)
    return()
  endif()
  get_property(files GLOBAL PROPERTY PIO_DELIVERABLES)
  if(files)
    add_test(NAME binary_imports_xp
      COMMAND ${PIO_SOURCE_DIR}/tools/check-imports.sh ${PIO_OBJDUMP} ${files})
    set_tests_properties(binary_imports_xp PROPERTIES LABELS binary)
  endif()
  get_property(checks GLOBAL PROPERTY PIO_EXPORT_CHECKS)
  if(checks)
    add_test(NAME binary_exports
      COMMAND ${PIO_SOURCE_DIR}/tools/check-exports.sh ${PIO_OBJDUMP} ${checks})
    set_tests_properties(binary_exports PROPERTIES LABELS binary)
  endif()
endfunction()

# A benchmark of portable code, built from its sources without the sanitizers so
# that the figures are those of the shipped code.
function(pio_benchmark name)
  if(NOT PIO_HOST)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;INCLUDES" ${ARGN})
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${A_INCLUDES})
  target_link_libraries(${name} PRIVATE benchmark::benchmark)
  foreach(property COMPILE_OPTIONS LINK_OPTIONS)
    get_target_property(options ${name} ${property})
    if(options)
      list(FILTER options EXCLUDE REGEX "sanitize|omit-frame-pointer")
      set_target_properties(${name} PROPERTIES ${property} "${options}")
    endif()
  endforeach()
  target_compile_options(${name} PRIVATE -O2)
  add_test(NAME ${name} COMMAND ${name} --benchmark_min_time=0.2 --benchmark_color=false)
  set_tests_properties(${name} PROPERTIES LABELS benchmark TIMEOUT 120)
endfunction()

# A fuzz target (LLVMFuzzerTestOneInput) run on the host under the sanitizers for
# a bounded time by our small driver; SEEDS are sample inputs to mutate.
function(pio_fuzz_target name)
  if(NOT PIO_HOST)
    return()
  endif()
  cmake_parse_arguments(A "" "SECONDS" "SOURCES;LIBS;SEEDS" ${ARGN})
  if(NOT A_SECONDS)
    set(A_SECONDS 10)
  endif()
  add_executable(${name} ${A_SOURCES} ${PIO_SOURCE_DIR}/tools/fuzz/fuzz_driver.cpp)
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  add_test(NAME ${name} COMMAND ${name} ${A_SECONDS} ${A_SEEDS})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()
