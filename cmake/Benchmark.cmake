# tarvik-bench: always optimised; ctest only checks that its quick mode runs through, because
# timings belong to a quiet machine, not to a shared CI run.
file(GLOB TARVIK_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
if(NOT TARVIK_BENCH_SOURCES)
    message(WARNING "bench has no .cpp files: tarvik-bench is not built")
    return()
endif()

add_executable(tarvik-bench ${TARVIK_BENCH_SOURCES})
target_compile_options(tarvik-bench PRIVATE -O2)
target_link_libraries(tarvik-bench PRIVATE tarvik_core tarvik_options)

option(TARVIK_BENCH_SMOKE "Run 'tarvik-bench --quick' as a ctest smoke test on the host" ON)
if(TARVIK_BENCH_SMOKE AND NOT CMAKE_CROSSCOMPILING)
    add_test(NAME tarvik_bench_quick COMMAND tarvik-bench --quick)
    set_tests_properties(tarvik_bench_quick PROPERTIES TIMEOUT 300)
endif()
