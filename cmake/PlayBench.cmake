# tarvik-play-bench.exe: what one play tick costs on the real screen (grab, preparing the target
# list, search). Always optimised; ctest only checks that its quick mode runs through under Wine,
# because timings belong to a quiet machine, not to a shared CI run.
add_executable(tarvik-play-bench
    ${PROJECT_SOURCE_DIR}/bench/win/PlayTickBench.cpp
    ${PROJECT_SOURCE_DIR}/bench/win/DesktopBlit.cpp
    ${PROJECT_SOURCE_DIR}/bench/win/ScreenPictureWnd.cpp
    ${PROJECT_SOURCE_DIR}/bench/SearchScreens.cpp
    ${PROJECT_SOURCE_DIR}/bench/HeapCounter.cpp)
target_compile_options(tarvik-play-bench PRIVATE -O2)
target_link_libraries(tarvik-play-bench PRIVATE
    ${TARVIK_WIN_LIBRARY} tarvik_core tarvik_options ${TARVIK_WINDOWS_LIBS})

# It covers the whole screen with a topmost window, so nothing else may use the desktop meanwhile.
add_test(NAME tarvik_play_bench_quick
    COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/tools/wine-run.sh ${CMAKE_BINARY_DIR}
        $<TARGET_FILE:tarvik-play-bench> --quick)
set_tests_properties(tarvik_play_bench_quick PROPERTIES
    FIXTURES_REQUIRED wine_session RESOURCE_LOCK wine_desktop TIMEOUT 300)
