# The question boxes: the fade window behind them, the general message box and
# the timed question.
pio_core_library(screen_fade_core SOURCES fade_core.cpp)
pio_core_library(screen_msgbox_core SOURCES msgbox_core.cpp LIBS screen_skinbutton_core)
pio_native_test(msgbox_core_tests
  SOURCES tests/fade_core_tests.cpp tests/msgbox_core_tests.cpp
  LIBS screen_fade_core screen_msgbox_core)
# One fade step against a copy of the same pixels, printed in the test log.
pio_benchmark(fade_benchmark SOURCES bench/fade_bench.cpp fade_core.cpp)

if(PIO_WINDOWS)
  add_library(screen_msgbox STATIC
    skinneddialog.cpp skinfolder.cpp fadewnd.cpp generalmsgbox.cpp timedmsgbox.cpp)
  target_link_libraries(screen_msgbox PUBLIC
    screen_fade_core screen_msgbox_core screen_skinbutton screen_contour screen_language
    framework user32 gdi32)
  target_include_directories(screen_msgbox PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

  pio_wine_test(msgbox_tests SOURCES tests/msgbox_tests.cpp LIBS screen_msgbox pio_test_support
    TIMEOUT 240)
  if(TARGET msgbox_tests)
    pio_screen_executable(msgbox_tests)
    # A folder with our language library set to Arabic, for the right-to-left box.
    if("standins" IN_LIST PIO_COMPONENTS)
      set(arabic $<TARGET_FILE_DIR:msgbox_tests>/arabic)
      add_dependencies(msgbox_tests DiZovadAzir dizovadazir_languages)
      add_custom_command(TARGET msgbox_tests POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory ${arabic}/Languages
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:DiZovadAzir> ${arabic}/
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/standins/DiZovadAzir/Languages/Arabic.txt
                ${arabic}/Languages/
        COMMAND ${CMAKE_COMMAND} -E echo "[Language]" > ${arabic}/DiZovadAzir.ini
        COMMAND ${CMAKE_COMMAND} -E echo "Name=Arabic" >> ${arabic}/DiZovadAzir.ini)
    endif()
  endif()
endif()
