# Cross-compiles for 64-bit Windows: the test builds that native Wine runs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VFLASH_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
