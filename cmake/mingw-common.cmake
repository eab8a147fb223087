# The plain (win32 thread model) compilers: the -posix ones pull in winpthreads,
# which imports Vista-only functions.
set(CMAKE_C_COMPILER ${PIO_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${PIO_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${PIO_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PIO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(PIO_OBJDUMP ${PIO_MINGW_PREFIX}-objdump)
