# Cross build for 32-bit Windows, the release flavour for XP and Vista.
# This machine cannot execute 32-bit code, so nothing of it is run.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PIO_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
