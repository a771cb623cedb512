# libFuzzer build: the core with coverage and sanitizers, the target-list fuzzer and its seeds.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TARVIK_FUZZ needs clang (use the fuzz preset)")
endif()

set(TARVIK_FUZZ_SECONDS 60 CACHE STRING "How long the fuzz test runs, in seconds")
# Loading, composing the tiles and clicking take milliseconds per input even with the
# sanitizers: an input that takes seconds is a hang a damaged file could cause.
set(TARVIK_FUZZ_INPUT_SECONDS 2 CACHE STRING "Longest time one fuzz input may take, in seconds")

# Coverage instrumentation for the code under test; libFuzzer's main is linked only into fuzzers.
add_library(tarvik_fuzz_instrumentation INTERFACE)
target_compile_options(tarvik_fuzz_instrumentation INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
target_link_options(tarvik_fuzz_instrumentation INTERFACE -fsanitize=address,undefined)

tarvik_add_core_library(tarvik_core tarvik_fuzz_instrumentation)

add_executable(tarvik-fuzz-read ${PROJECT_SOURCE_DIR}/tests/fuzz/FuzzReadTargetList.cpp)
target_compile_options(tarvik-fuzz-read PRIVATE -fsanitize=fuzzer)
target_link_options(tarvik-fuzz-read PRIVATE -fsanitize=fuzzer)
target_link_libraries(tarvik-fuzz-read PRIVATE tarvik_core tarvik_options)

add_executable(tarvik-fuzz-seeds ${PROJECT_SOURCE_DIR}/tests/fuzz/MakeSeeds.cpp)
target_link_libraries(tarvik-fuzz-seeds PRIVATE tarvik_core tarvik_options)

add_test(NAME fuzz_read_target_list
    COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/tools/fuzz-run.sh
        $<TARGET_FILE:tarvik-fuzz-read> $<TARGET_FILE:tarvik-fuzz-seeds>
        ${CMAKE_BINARY_DIR} ${TARVIK_FUZZ_SECONDS} ${TARVIK_FUZZ_INPUT_SECONDS})
set_tests_properties(fuzz_read_target_list PROPERTIES TIMEOUT 600)
