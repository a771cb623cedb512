# End-to-end tests: tarvik_e2e_tests drives the real Tarvik.exe (built next to it) under Wine with
# real pointer and key input, and saves a screenshot of every scene under screenshots/e2e.
file(GLOB TARVIK_E2E_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(tarvik_e2e_tests ${TARVIK_E2E_TEST_SOURCES})
# SYSTEM: stb_image_write (Debian's libstb-dev, see cmake/Tools.cmake) is not held to our warnings.
target_include_directories(tarvik_e2e_tests SYSTEM PRIVATE ${TARVIK_STB_INCLUDE_DIR})
target_link_libraries(tarvik_e2e_tests PRIVATE
    ${TARVIK_WIN_LIBRARY} tarvik_core tarvik_options gmock gtest_main ${TARVIK_WINDOWS_LIBS} version)
add_dependencies(tarvik_e2e_tests Tarvik)
add_test(NAME tarvik_e2e_tests COMMAND tarvik_e2e_tests)
# The tests own the screen, the pointer, the Wine prefix's registry and the default list while
# they run, so nothing else that uses the desktop may run beside them.
set_tests_properties(tarvik_e2e_tests PROPERTIES
    FIXTURES_REQUIRED wine_session RESOURCE_LOCK wine_desktop TIMEOUT 900)
