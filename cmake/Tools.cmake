# Command-line tool and benchmark, both linked with the core library.
file(GLOB TARVIK_CLI_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/cli/*.cpp)
if(TARVIK_CLI_SOURCES)
    add_executable(tarvik-cli ${TARVIK_CLI_SOURCES})
    target_link_libraries(tarvik-cli PRIVATE tarvik_core tarvik_options)
else()
    message(WARNING "tools/cli has no .cpp files: tarvik-cli is not built")
endif()

# Built (always optimised) but not run by ctest: timings belong to a quiet machine, not to CI.
file(GLOB TARVIK_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
if(TARVIK_BENCH_SOURCES)
    add_executable(tarvik-bench ${TARVIK_BENCH_SOURCES})
    target_compile_options(tarvik-bench PRIVATE -O2)
    target_link_libraries(tarvik-bench PRIVATE tarvik_core tarvik_options)
else()
    message(WARNING "bench has no .cpp files: tarvik-bench is not built")
endif()
