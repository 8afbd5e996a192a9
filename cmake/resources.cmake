# Compiles res/vflash.rc with windres into a .res file. The Windows builds link it into
# the program; the host build embeds the same .res bytes (platform/host/ reads them) so
# that both builds run on one resource script.
set(VFLASH_RC ${CMAKE_SOURCE_DIR}/res/vflash.rc)
set(VFLASH_RES ${CMAKE_BINARY_DIR}/vflash.res)
find_program(VFLASH_WINDRES NAMES x86_64-w64-mingw32-windres i686-w64-mingw32-windres REQUIRED)

# The icon is drawn by our own generator; the image comes from res/diskette.
add_executable(mkicon tools/mkicon.cpp)
set(VFLASH_ICON ${CMAKE_BINARY_DIR}/VFLASH.ICO)
add_custom_command(OUTPUT ${VFLASH_ICON}
                   COMMAND mkicon ${VFLASH_ICON}
                   DEPENDS mkicon
                   COMMENT "Drawing the application icon")

add_custom_command(OUTPUT ${VFLASH_RES}
    COMMAND ${VFLASH_WINDRES} -O res
            -I ${CMAKE_SOURCE_DIR} -I ${CMAKE_BINARY_DIR}
            -I ${CMAKE_BINARY_DIR}/res/diskette
            ${VFLASH_RC} -o ${VFLASH_RES}
    DEPENDS ${VFLASH_RC} ${CMAKE_SOURCE_DIR}/res/resource.h ${VFLASH_ICON} diskette_image
            ${VFLASH_DISKETTE_IMAGE}
    COMMENT "Compiling the resource script")
add_custom_target(vflash_resources DEPENDS ${VFLASH_RES})

set(VFLASH_RES_OBJECT ${CMAKE_SOURCE_DIR}/platform/host/embed_res.S)
set_source_files_properties(${VFLASH_RES_OBJECT} PROPERTIES
    OBJECT_DEPENDS ${VFLASH_RES}
    COMPILE_DEFINITIONS "VFLASH_RES_PATH=\"${VFLASH_RES}\"")
