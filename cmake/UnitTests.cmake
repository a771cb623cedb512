# GoogleTest from Debian's sources and the unit tests of the core (tests/core) and of the CLI
# (tests/cli); on the host each also runs against a copy built with ASan and UBSan.
set(TARVIK_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# SYSTEM: our strict warnings must not apply to GoogleTest's own headers.
add_subdirectory(${TARVIK_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

include(GoogleTest)

# Adds the GoogleTest executable NAME from SOURCES linked with LIBS and registers it with ctest:
# on the host test by test, under Wine (cross builds) as one entry that needs the Wine session.
function(tarvik_add_unit_tests name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBS")
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBS} tarvik_options gmock gtest_main)
    # The layering test reads the sources themselves.
    target_compile_definitions(${name} PRIVATE TARVIK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    if(CMAKE_CROSSCOMPILING)
        # Listing the tests one by one would need Wine at build time.
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_session TIMEOUT 600)
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
    endif()
endfunction()

# Adds NAME, the tests in SOURCES against sanitized LIBS, as a single ctest entry that prints
# only failures, so the sanitized run does not repeat every test name in the ctest output.
function(tarvik_add_sanitized_unit_tests name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBS")
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE
        ${arg_LIBS} tarvik_sanitizers tarvik_options gmock gtest_main)
    target_compile_definitions(${name} PRIVATE TARVIK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    # The tests' own code only drives the sanitized core, which keeps its optimisation; left
    # unoptimised, the instrumented test sources build in a third of the time.
    target_compile_options(${name} PRIVATE -O0)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 900 ENVIRONMENT
        "ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()

file(GLOB TARVIK_CORE_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/core/*.cpp)
file(GLOB TARVIK_CLI_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/cli/*.cpp)
if(NOT TARVIK_CORE_TEST_SOURCES)
    message(WARNING "tests/core has no .cpp files: the core unit tests are not built")
endif()
if(TARVIK_CLI_TEST_SOURCES AND NOT TARGET tarvik_cli)
    message(WARNING "tests/cli needs the CLI library: the CLI unit tests are not built")
    set(TARVIK_CLI_TEST_SOURCES)
endif()

if(TARVIK_CORE_TEST_SOURCES)
    tarvik_add_unit_tests(tarvik_core_tests SOURCES ${TARVIK_CORE_TEST_SOURCES} LIBS tarvik_core)
endif()
if(TARVIK_CLI_TEST_SOURCES)
    tarvik_add_unit_tests(tarvik_cli_tests SOURCES ${TARVIK_CLI_TEST_SOURCES} LIBS tarvik_cli)
endif()

if(NOT CMAKE_CROSSCOMPILING)
    tarvik_add_core_library(tarvik_core_sanitized tarvik_sanitizers)
    if(TARVIK_CORE_TEST_SOURCES)
        tarvik_add_sanitized_unit_tests(tarvik_core_tests_sanitized
            SOURCES ${TARVIK_CORE_TEST_SOURCES} LIBS tarvik_core_sanitized)
    endif()
    if(TARVIK_CLI_TEST_SOURCES)
        tarvik_add_cli_library(tarvik_cli_sanitized tarvik_core_sanitized tarvik_sanitizers)
        tarvik_add_sanitized_unit_tests(tarvik_cli_tests_sanitized
            SOURCES ${TARVIK_CLI_TEST_SOURCES} LIBS tarvik_cli_sanitized)
    endif()
endif()
