# Command-line tool: a library (which tests/cli links too) plus a thin entry point.
set(TARVIK_CLI_MAIN ${PROJECT_SOURCE_DIR}/tools/cli/CliMain.cpp)
file(GLOB TARVIK_CLI_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/cli/*.cpp)
list(REMOVE_ITEM TARVIK_CLI_SOURCES ${TARVIK_CLI_MAIN})

# stb_image from Debian's libstb-dev, header-only, reads PNG screenshots in the CLI. It lives
# outside the mingw sysroot but is plain portable C, so cross builds use the same folder.
find_path(TARVIK_STB_INCLUDE_DIR stb_image.h
    PATHS /usr/include/stb NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# Creates the CLI library NAME on top of the core library CORE (tests/cli links it too).
function(tarvik_add_cli_library name core)
    add_library(${name} STATIC ${TARVIK_CLI_SOURCES})
    # SYSTEM: our strict warnings are for our code, not for stb's implementation.
    target_include_directories(${name} SYSTEM PRIVATE ${TARVIK_STB_INCLUDE_DIR})
    target_link_libraries(${name} PRIVATE tarvik_options PUBLIC ${core} ${ARGN})
endfunction()

if(TARVIK_CLI_SOURCES AND EXISTS ${TARVIK_CLI_MAIN})
    tarvik_add_cli_library(tarvik_cli tarvik_core)
    add_executable(tarvik-cli ${TARVIK_CLI_MAIN})
    target_link_libraries(tarvik-cli PRIVATE tarvik_cli tarvik_options)
    if(WIN32)
        # The Windows entry point is wmain, so file names arrive as UTF-16.
        target_link_options(tarvik-cli PRIVATE -municode)
    endif()
else()
    message(WARNING "tools/cli is incomplete (needs CliMain.cpp and more): tarvik-cli is not built")
endif()
