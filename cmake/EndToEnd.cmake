# End-to-end tests: tarvik_e2e_tests drives the real Tarvik.exe (built next to it) under Wine with
# real pointer and key input, and saves a screenshot of every scene under screenshots/e2e.
# The harness (starting Tarvik, real input, screenshots, the state Tarvik finds) is a library of
# its own, shared with the play demonstration of tools/run.sh.
set(TARVIK_E2E_SUPPORT_SOURCES
    ${PROJECT_SOURCE_DIR}/tests/e2e/InputTaken.cpp
    ${PROJECT_SOURCE_DIR}/tests/e2e/PlayScene.cpp
    ${PROJECT_SOURCE_DIR}/tests/e2e/RealInput.cpp
    ${PROJECT_SOURCE_DIR}/tests/e2e/ScreenShot.cpp
    ${PROJECT_SOURCE_DIR}/tests/e2e/SettingsDialogSteps.cpp
    ${PROJECT_SOURCE_DIR}/tests/e2e/StbImageWrite.cpp
    ${PROJECT_SOURCE_DIR}/tests/e2e/TarvikProcess.cpp
    ${PROJECT_SOURCE_DIR}/tests/e2e/TarvikState.cpp
    ${PROJECT_SOURCE_DIR}/tests/e2e/TarvikWindows.cpp
    # Reads the reference screenshot the 96-DPI panel is compared with.
    ${PROJECT_SOURCE_DIR}/tools/cli/ScreenImage.cpp)
add_library(tarvik_e2e_support STATIC ${TARVIK_E2E_SUPPORT_SOURCES})
# SYSTEM: stb_image_write (Debian's libstb-dev, see cmake/Tools.cmake) is not held to our warnings.
target_include_directories(tarvik_e2e_support SYSTEM PRIVATE ${TARVIK_STB_INCLUDE_DIR})
target_link_libraries(tarvik_e2e_support
    PUBLIC tarvik_board_client ${TARVIK_WIN_LIBRARY} tarvik_core gtest ${TARVIK_WINDOWS_LIBS}
        version psapi
    PRIVATE tarvik_options)

file(GLOB TARVIK_E2E_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*.cpp)
list(REMOVE_ITEM TARVIK_E2E_TEST_SOURCES ${TARVIK_E2E_SUPPORT_SOURCES})
add_executable(tarvik_e2e_tests ${TARVIK_E2E_TEST_SOURCES})
target_link_libraries(tarvik_e2e_tests PRIVATE
    tarvik_e2e_support tarvik_options gmock gtest_main)
add_dependencies(tarvik_e2e_tests Tarvik TargetBoard)
# The panel as it looks at 96 DPI, next to the executable where the scene reads it.
configure_file(${PROJECT_SOURCE_DIR}/tests/e2e/reference/panel-96dpi.png
    ${CMAKE_BINARY_DIR}/e2e-reference/panel-96dpi.png COPYONLY)
# The long play session runs as a test of its own, so its time stays apart; the multi-monitor
# scenes and those at another scale run on displays of their own.
add_test(NAME tarvik_e2e_tests
    COMMAND tarvik_e2e_tests --gtest_filter=-PlayLongSession*:MultiMonitor*:ScaleTest*)
add_test(NAME tarvik_play_long_session COMMAND tarvik_e2e_tests --gtest_filter=PlayLongSession*)
# The tests own the screen, the pointer, the Wine prefix's registry and the default list while
# they run, so nothing else that uses the desktop may run beside them.
set_tests_properties(tarvik_e2e_tests PROPERTIES
    FIXTURES_REQUIRED wine_session RESOURCE_LOCK wine_desktop TIMEOUT 900)
set_tests_properties(tarvik_play_long_session PROPERTIES
    FIXTURES_REQUIRED wine_session RESOURCE_LOCK wine_desktop TIMEOUT 1500)

# The multi-monitor scenes on a two-monitor display (Xorg with the dummy driver; Xvfb has one
# monitor only), with its own prefix and wineserver; wine-run.sh picks that session from
# TARVIK_WINE_SESSION. Its desktop is its own, but the scenes still wait for the processor, so
# they take the same lock as the other scenes.
add_test(NAME tarvik_e2e_multimonitor COMMAND tarvik_e2e_tests --gtest_filter=MultiMonitor*)
set_tests_properties(tarvik_e2e_multimonitor PROPERTIES
    FIXTURES_REQUIRED two_monitor_session RESOURCE_LOCK wine_desktop TIMEOUT 600
    ENVIRONMENT TARVIK_WINE_SESSION=two-monitors)
add_test(NAME two_monitor_session_start COMMAND /bin/bash
    ${PROJECT_SOURCE_DIR}/tools/wine-session.sh start ${CMAKE_BINARY_DIR} two-monitors)
set_tests_properties(two_monitor_session_start PROPERTIES
    FIXTURES_SETUP two_monitor_session TIMEOUT 300)
add_test(NAME two_monitor_session_stop COMMAND /bin/bash
    ${PROJECT_SOURCE_DIR}/tools/wine-session.sh stop ${CMAKE_BINARY_DIR} two-monitors)
set_tests_properties(two_monitor_session_stop PROPERTIES
    FIXTURES_CLEANUP two_monitor_session TIMEOUT 120)

# The scenes at 150 % and 200 % (ScaleTest) and the figures at those scales (ScaleFigures; at
# 96 DPI they run with the other scenes), each on an Xvfb display of its own whose Wine prefix
# runs at that DPI. They wait for the processor too, so they take the same lock.
foreach(dpi 144 192)
    add_test(NAME tarvik_e2e_scale_${dpi} COMMAND tarvik_e2e_tests --gtest_filter=Scale*)
    set_tests_properties(tarvik_e2e_scale_${dpi} PROPERTIES
        FIXTURES_REQUIRED dpi${dpi}_session RESOURCE_LOCK wine_desktop TIMEOUT 600
        ENVIRONMENT TARVIK_WINE_SESSION=dpi${dpi})
    add_test(NAME dpi${dpi}_session_start COMMAND /bin/bash
        ${PROJECT_SOURCE_DIR}/tools/wine-session.sh start ${CMAKE_BINARY_DIR} dpi${dpi})
    set_tests_properties(dpi${dpi}_session_start PROPERTIES
        FIXTURES_SETUP dpi${dpi}_session TIMEOUT 300)
    add_test(NAME dpi${dpi}_session_stop COMMAND /bin/bash
        ${PROJECT_SOURCE_DIR}/tools/wine-session.sh stop ${CMAKE_BINARY_DIR} dpi${dpi})
    set_tests_properties(dpi${dpi}_session_stop PROPERTIES
        FIXTURES_CLEANUP dpi${dpi}_session TIMEOUT 120)
endforeach()

# The play demonstration that tools/run.sh runs on a headless display.
add_executable(tarvik-play-demo ${PROJECT_SOURCE_DIR}/tools/playdemo/PlayDemoMain.cpp)
target_link_options(tarvik-play-demo PRIVATE -municode)
target_link_libraries(tarvik-play-demo PRIVATE tarvik_e2e_support tarvik_options)
add_dependencies(tarvik-play-demo Tarvik TargetBoard)

# The stand-in browser that the About and Help scenes register for .htm pages.
add_executable(tarvik-page-handler WIN32 ${PROJECT_SOURCE_DIR}/tests/e2e/pagehandler/PageHandlerMain.cpp)
target_link_options(tarvik-page-handler PRIVATE -municode)
target_link_libraries(tarvik-page-handler PRIVATE tarvik_options shell32)
add_dependencies(tarvik_e2e_tests tarvik-page-handler)
add_dependencies(tarvik_win_tests tarvik-page-handler)
