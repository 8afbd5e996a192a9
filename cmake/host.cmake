# The host build: the program over the simulated PC (platform/sim) and the headless window
# system (platform/host), with every test.
enable_language(ASM)

set(VFLASH_SANITIZE "address,undefined" CACHE STRING
    "Sanitizers for the host build: address,undefined | thread | none")
if(NOT VFLASH_SANITIZE STREQUAL "none")
    add_compile_options(-fsanitize=${VFLASH_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${VFLASH_SANITIZE})
endif()

find_package(Threads REQUIRED)
find_package(GTest REQUIRED)
include(GoogleTest)
enable_testing()

# The diskette image (nasm boot sector, start-up program, our FAT12 image builder).
add_subdirectory(res/diskette)
# The resources: the same resource script that the Windows builds link, compiled here too
# and embedded, so the host reads the very dialog templates, strings and image.
include(cmake/resources.cmake)

add_subdirectory(platform/sim)

file(GLOB VFLASH_HOST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/host/*.cpp)
add_library(vflash_host STATIC ${VFLASH_FW_SOURCES} ${VFLASH_HOST_SOURCES}
            ${VFLASH_RES_OBJECT})
target_include_directories(vflash_host PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vflash_host PUBLIC vflash_sim Threads::Threads)
add_dependencies(vflash_host vflash_resources)

# The program's code as objects (not an archive), so that the application object, which
# nothing refers to by name, is always linked; tests link it with their own main().
add_library(vflash_program OBJECT ${VFLASH_PROGRAM_SOURCES})
target_include_directories(vflash_program PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vflash_program PUBLIC vflash_host)

add_executable(vflash platform/host/entry/main.cpp)
target_link_libraries(vflash PRIVATE vflash_program)

add_subdirectory(tests)
add_subdirectory(bench EXCLUDE_FROM_ALL)
