# The skin: every image file beside PioScreen and every bitmap, icon and cursor
# compiled into it, drawn at build time by tools/skin/generate_skin.py (no image
# is kept in the repository).
#
#   screen_skin_assets         target that draws them all
#   PIO_SKIN_DIR               the folder they are drawn into; it also holds
#                              skin_resources.rc for the program's .rc to #include
#   PIO_SKIN_RESOURCE_FILES    the files skin_resources.rc names
#   pio_skin_resources(target) orders the target after the drawing, lets its .rc
#                              find skin_resources.rc and recompiles it when they change
if(NOT PIO_WINDOWS)
  return()
endif()

# Debian's interpreter: it has Pillow (python3-pil), a python3 found first on PATH may not.
if(NOT PIO_SKIN_PYTHON)
  if(EXISTS /usr/bin/python3)
    set(skin_python_default /usr/bin/python3)
  else()
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    set(skin_python_default ${Python3_EXECUTABLE})
  endif()
  set(PIO_SKIN_PYTHON ${skin_python_default} CACHE FILEPATH "Python with Pillow that draws the skin" FORCE)
endif()
execute_process(COMMAND ${PIO_SKIN_PYTHON} -c "import PIL"
  RESULT_VARIABLE skin_pil_missing OUTPUT_QUIET ERROR_QUIET)
if(skin_pil_missing)
  message(FATAL_ERROR "${PIO_SKIN_PYTHON} cannot import PIL; install python3-pil "
                      "(tools/install-deps.sh) or set PIO_SKIN_PYTHON")
endif()

set(PIO_SKIN_DIR ${CMAKE_BINARY_DIR}/skin CACHE INTERNAL "Folder of the drawn skin")
set(skin_script ${PIO_SOURCE_DIR}/tools/skin/generate_skin.py)

# The script lists its own files, so the list lives in one place; a change of the
# script re-runs this listing.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${skin_script})
execute_process(COMMAND ${PIO_SKIN_PYTHON} ${skin_script} --list
  OUTPUT_VARIABLE skin_listing RESULT_VARIABLE skin_list_failed)
if(skin_list_failed)
  message(FATAL_ERROR "tools/skin/generate_skin.py --list failed")
endif()

set(skin_outputs "")
set(skin_installed "")
set(skin_resource_files "")
set(skin_rc "// Written by screen/res/skin.cmake: the skin's bitmaps, icon and cursor.\n")
string(REPLACE "\n" ";" skin_lines "${skin_listing}")
foreach(line IN LISTS skin_lines)
  if(line STREQUAL "")
    continue()
  endif()
  if(NOT line MATCHES "^([A-Za-z]+) ([0-9]+) ([^ ]+)$")
    message(FATAL_ERROR "Unexpected line from generate_skin.py --list: ${line}")
  endif()
  set(kind ${CMAKE_MATCH_1})
  set(id ${CMAKE_MATCH_2})
  set(file ${PIO_SKIN_DIR}/${CMAKE_MATCH_3})
  list(APPEND skin_outputs ${file})
  if(kind STREQUAL "file")
    list(APPEND skin_installed ${CMAKE_MATCH_3})
  else()
    list(APPEND skin_resource_files ${file})
    string(APPEND skin_rc "${id} ${kind} \"${file}\"\n")
  endif()
endforeach()
set(PIO_SKIN_RESOURCE_FILES ${skin_resource_files} CACHE INTERNAL "Skin files compiled into PioScreen")

add_custom_command(OUTPUT ${skin_outputs}
  COMMAND ${PIO_SKIN_PYTHON} ${skin_script} --out ${PIO_SKIN_DIR}
  DEPENDS ${skin_script}
  COMMENT "Drawing the PioScreen skin"
  VERBATIM)
add_custom_target(screen_skin_assets ALL DEPENDS ${skin_outputs})

# Rewritten only when its text changes, so the program's resources are not
# recompiled at every configure.
file(CONFIGURE OUTPUT ${PIO_SKIN_DIR}/skin_resources.rc CONTENT "${skin_rc}" @ONLY)

function(pio_skin_resources target)
  add_dependencies(${target} screen_skin_assets)
  target_include_directories(${target} PRIVATE ${PIO_SKIN_DIR})
  get_target_property(sources ${target} SOURCES)
  foreach(source IN LISTS sources)
    if(source MATCHES "\\.rc$")
      set_property(SOURCE ${source} APPEND PROPERTY OBJECT_DEPENDS
        ${PIO_SKIN_RESOURCE_FILES} ${PIO_SKIN_DIR}/skin_resources.rc)
    endif()
  endforeach()
endfunction()

# An executable that carries the program's resources (dialog templates, bitmaps,
# icon, cursor) and, beside it, the skin's image folders, as the program finds
# them when installed: PioScreen itself and the test programs of its windows.
function(pio_screen_executable target)
  set(rc ${PIO_SOURCE_DIR}/screen/res/PioScreen.rc)
  set_source_files_properties(${rc} PROPERTIES
    OBJECT_DEPENDS "${PIO_SOURCE_DIR}/screen/res/PioScreen.manifest")
  target_sources(${target} PRIVATE ${rc})
  target_include_directories(${target} PRIVATE ${PIO_SOURCE_DIR}/screen/res)
  pio_skin_resources(${target})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PIO_SKIN_DIR}/res $<TARGET_FILE_DIR:${target}>/res)
endfunction()

# Beside the program, at the paths it looks its images up by.
foreach(relative IN LISTS skin_installed)
  get_filename_component(folder ${relative} DIRECTORY)
  install(FILES ${PIO_SKIN_DIR}/${relative} DESTINATION PioScreen/${folder})
endforeach()

# The drawn files against the places the main dialog's tables give them.
add_test(NAME skin_assets
  COMMAND ${PIO_SKIN_PYTHON} ${PIO_SOURCE_DIR}/tools/skin/check_skin.py
          ${PIO_SKIN_DIR} ${PIO_SOURCE_DIR}/screen/app/layout.cpp)
set_tests_properties(skin_assets PROPERTIES LABELS binary)
