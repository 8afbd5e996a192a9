# What both mingw-w64 toolchain files share; each sets CMAKE_SYSTEM_PROCESSOR and
# VFLASH_MINGW_PREFIX first.
#
# The win32-threads flavour of Debian's mingw-w64 is named explicitly, whichever flavour the
# system's alternatives point at: its runtime stands on kernel32 and msvcrt alone, with no
# winpthread library, so the program imports nothing that NT 4.0 lacks. (It has no
# std::thread or std::mutex; the code uses win:: threads and events instead.)
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VFLASH_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${VFLASH_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${VFLASH_MINGW_PREFIX}-windres)
set(VFLASH_OBJDUMP ${VFLASH_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${VFLASH_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
