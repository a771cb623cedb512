# GoogleTest from Debian's sources and the core unit tests (plus a sanitized copy on the host).
set(TARVIK_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# SYSTEM: our strict warnings must not apply to GoogleTest's own headers.
add_subdirectory(${TARVIK_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

include(GoogleTest)

file(GLOB TARVIK_CORE_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/core/*.cpp)
if(NOT TARVIK_CORE_TEST_SOURCES)
    message(WARNING "tests/core has no .cpp files: the core unit tests are not built")
    return()
endif()

add_executable(tarvik_core_tests ${TARVIK_CORE_TEST_SOURCES})
target_link_libraries(tarvik_core_tests PRIVATE tarvik_core tarvik_options gmock gtest_main)

if(CMAKE_CROSSCOMPILING)
    # One ctest entry per executable: listing the tests would need Wine at build time.
    add_test(NAME tarvik_core_tests COMMAND tarvik_core_tests)
    set_tests_properties(tarvik_core_tests PROPERTIES
        FIXTURES_REQUIRED wine_session TIMEOUT 300)
    return()
endif()

gtest_discover_tests(tarvik_core_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)

# The same tests against a second copy of the core built with ASan and UBSan, as one ctest entry.
tarvik_add_core_library(tarvik_core_sanitized tarvik_sanitizers)
add_executable(tarvik_core_tests_sanitized ${TARVIK_CORE_TEST_SOURCES})
target_link_libraries(tarvik_core_tests_sanitized PRIVATE
    tarvik_core_sanitized tarvik_sanitizers tarvik_options gmock gtest_main)
add_test(NAME tarvik_core_tests_sanitized COMMAND tarvik_core_tests_sanitized --gtest_brief=1)
set_tests_properties(tarvik_core_tests_sanitized PROPERTIES
    TIMEOUT 600
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1;UBSAN_OPTIONS=print_stacktrace=1")
