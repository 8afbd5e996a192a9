# The Windows builds (mingw-w64): VFLASH.EXE from the program, the framework and the real
# win:: calls, with either the real pc:: calls (the product) or, with VFLASH_SIM=ON, the
# simulated PC (a test build that Wine can take through the update path without touching a
# drive or restarting anything). The builds without the simulation also make the Wine
# tests' own programs.
#
# The icon and the diskette image come from the host build (VFLASH_HOST_BUILD), whose
# generators run on this machine.
option(VFLASH_SIM "Link the simulated PC in place of the real device calls" OFF)
set(VFLASH_HOST_BUILD "" CACHE PATH "The host build directory (icon and diskette image)")

set(VFLASH_ICON ${VFLASH_HOST_BUILD}/VFLASH.ICO)
set(VFLASH_DISKETTE_IMAGE ${VFLASH_HOST_BUILD}/res/diskette/DISKETTE.IMG)
foreach(made IN ITEMS ${VFLASH_ICON} ${VFLASH_DISKETTE_IMAGE})
    if(NOT VFLASH_HOST_BUILD OR NOT EXISTS ${made})
        message(FATAL_ERROR "${made} is missing: build the host first (make host) and pass "
                            "-DVFLASH_HOST_BUILD=<its absolute path>")
    endif()
endforeach()

# NT 4.0 is the oldest Windows the program runs on: its headers then offer nothing newer,
# and every program's PE header asks for no newer loader (Windows refuses an image whose
# subsystem version is above its own).
set(VFLASH_WIN_DEFINITIONS WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0300)
set(VFLASH_WIN_LINK_OPTIONS
    -static -static-libgcc -static-libstdc++ -s -Wl,--gc-sections
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0
    -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0)

# Gives a program the flags above; `subsystem` is windows or console.
function(vflash_windows_program target subsystem)
    # No exceptions, so no unwind tables either: the program never unwinds a stack.
    target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti
                           -fno-asynchronous-unwind-tables -fno-unwind-tables
                           -ffunction-sections -fdata-sections)
    target_link_options(${target} PRIVATE ${VFLASH_WIN_LINK_OPTIONS}
                        -Wl,--subsystem,${subsystem}:4.0)
    set_target_properties(${target} PROPERTIES SUFFIX ".EXE"
                          RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

# The resource script, compiled by this build's own windres straight to an object file.
set(VFLASH_RC ${CMAKE_SOURCE_DIR}/res/vflash.rc)
set(VFLASH_RES_OBJECT ${CMAKE_BINARY_DIR}/vflash_rc.obj)
add_custom_command(OUTPUT ${VFLASH_RES_OBJECT}
    COMMAND ${CMAKE_RC_COMPILER} -O coff
            -I ${CMAKE_SOURCE_DIR} -I ${VFLASH_HOST_BUILD} -I ${VFLASH_HOST_BUILD}/res/diskette
            ${VFLASH_RC} -o ${VFLASH_RES_OBJECT}
    DEPENDS ${VFLASH_RC} ${CMAKE_SOURCE_DIR}/res/resource.h ${VFLASH_ICON}
            ${VFLASH_DISKETTE_IMAGE}
    COMMENT "Compiling the resource script")

set(VFLASH_WIN_SOURCES ${VFLASH_PROGRAM_SOURCES} ${VFLASH_FW_SOURCES}
    ${CMAKE_SOURCE_DIR}/platform/win32/win_win32.cpp
    ${CMAKE_SOURCE_DIR}/platform/win32/memory_win32.cpp ${VFLASH_RES_OBJECT})
if(VFLASH_SIM)
    add_subdirectory(platform/sim)
    add_executable(vflash WIN32 ${VFLASH_WIN_SOURCES}
                   platform/win32/entry/winmain_sim.cpp platform/win32/entry/TraceFile.cpp)
    target_link_libraries(vflash PRIVATE vflash_sim)
else()
    add_executable(vflash WIN32 ${VFLASH_WIN_SOURCES}
                   platform/win32/pc_win32.cpp platform/win32/entry/winmain.cpp)
endif()
target_include_directories(vflash PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(vflash PRIVATE comctl32 advapi32)
set_target_properties(vflash PROPERTIES OUTPUT_NAME VFLASH)
target_compile_definitions(vflash PRIVATE ${VFLASH_WIN_DEFINITIONS})
vflash_windows_program(vflash windows)

if(NOT VFLASH_SIM)
    add_subdirectory(tests/wine/uiauto)
    add_subdirectory(tests/wine/floor)
endif()
