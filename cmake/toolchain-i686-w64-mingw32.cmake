# Cross-compiles for 32-bit Windows: VFLASH.EXE, the product.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VFLASH_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
