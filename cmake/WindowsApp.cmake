# Windows-only targets: Tarvik.exe, its tests under Wine, and the Wine test session fixture.
enable_language(RC)

set(TARVIK_WINDOWS_LIBS user32 gdi32 comctl32 comdlg32 shell32 advapi32 gdiplus ole32)

# The Win32 half of every folder, shared by Tarvik.exe and its Windows tests: each folder's .cpp
# files that are not in the platform-free core (cmake/CoreSources.cmake), plus the framework layer
# (cmake/FrameworkSources.cmake). app/TarvikMain.cpp holds the entry point and stays in the .exe.
set(TARVIK_ENTRY_SOURCE ${PROJECT_SOURCE_DIR}/app/TarvikMain.cpp)
file(GLOB TARVIK_WIN_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/app/*.cpp
    ${PROJECT_SOURCE_DIR}/model/*.cpp
    ${PROJECT_SOURCE_DIR}/engine/*.cpp
    ${PROJECT_SOURCE_DIR}/capture/*.cpp
    ${PROJECT_SOURCE_DIR}/ui/*.cpp)
set(TARVIK_CORE_SOURCE_PATHS ${TARVIK_CORE_SOURCES})
list(TRANSFORM TARVIK_CORE_SOURCE_PATHS PREPEND ${PROJECT_SOURCE_DIR}/)
list(REMOVE_ITEM TARVIK_WIN_SOURCES ${TARVIK_CORE_SOURCE_PATHS} ${TARVIK_ENTRY_SOURCE})
include(${PROJECT_SOURCE_DIR}/cmake/FrameworkSources.cmake)
list(TRANSFORM TARVIK_FRAMEWORK_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/)
list(APPEND TARVIK_WIN_SOURCES ${TARVIK_FRAMEWORK_SOURCES})
add_library(tarvik_win STATIC ${TARVIK_WIN_SOURCES})
target_include_directories(tarvik_win PUBLIC ${PROJECT_SOURCE_DIR}/res ${TARVIK_GENERATED_DIR})
target_link_libraries(tarvik_win
    PUBLIC tarvik_core ${TARVIK_WINDOWS_LIBS}
    PRIVATE tarvik_options)
set(TARVIK_WIN_LIBRARY tarvik_win)

add_executable(Tarvik WIN32 ${TARVIK_ENTRY_SOURCE} ${PROJECT_SOURCE_DIR}/res/Tarvik.rc)
target_include_directories(Tarvik PRIVATE ${PROJECT_SOURCE_DIR}/res ${TARVIK_GENERATED_DIR})
# -municode selects wWinMain as the entry point.
target_link_options(Tarvik PRIVATE -municode)
target_link_libraries(Tarvik PRIVATE
    ${TARVIK_WIN_LIBRARY} tarvik_core tarvik_options ${TARVIK_WINDOWS_LIBS})
# windres does not report the files a script pulls in, so any change under res/ recompiles it.
file(GLOB_RECURSE TARVIK_RESOURCE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/*)
list(REMOVE_ITEM TARVIK_RESOURCE_FILES ${PROJECT_SOURCE_DIR}/res/Tarvik.rc)
list(APPEND TARVIK_RESOURCE_FILES ${TARVIK_GENERATED_DIR}/TarvikVersion.h)
set_source_files_properties(${PROJECT_SOURCE_DIR}/res/Tarvik.rc PROPERTIES
    OBJECT_DEPENDS "${TARVIK_RESOURCE_FILES}")

# Tests of the Windows code, in-process; the resource scripts in tests/win hold the tests' own
# dialog templates and embed the application's.
file(GLOB TARVIK_WIN_TEST_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/tests/win/*.cpp
    ${PROJECT_SOURCE_DIR}/tests/win/*.rc)
add_executable(tarvik_win_tests ${TARVIK_WIN_TEST_SOURCES})
target_link_libraries(tarvik_win_tests PRIVATE
    ${TARVIK_WIN_LIBRARY} tarvik_core tarvik_options gmock gtest_main ${TARVIK_WINDOWS_LIBS})
set_source_files_properties(${PROJECT_SOURCE_DIR}/tests/win/TarvikUiResources.rc PROPERTIES
    OBJECT_DEPENDS "${TARVIK_RESOURCE_FILES}")
add_test(NAME tarvik_win_tests COMMAND tarvik_win_tests)
# About 35 s on a quiet machine; a shared one has been seen at four times that.
set_tests_properties(tarvik_win_tests PROPERTIES
    FIXTURES_REQUIRED wine_session RESOURCE_LOCK wine_desktop TIMEOUT 600)

# The Wine test session: Xvfb plus a persistent wineserver, started before and stopped after
# every test that requires the wine_session fixture.
add_test(NAME wine_session_start
    COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/tools/wine-session.sh start ${CMAKE_BINARY_DIR})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 300)
add_test(NAME wine_session_stop
    COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/tools/wine-session.sh stop ${CMAKE_BINARY_DIR})
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session TIMEOUT 120)

include(${PROJECT_SOURCE_DIR}/cmake/EndToEnd.cmake)
include(${PROJECT_SOURCE_DIR}/cmake/TargetBoard.cmake)
include(${PROJECT_SOURCE_DIR}/cmake/PlayBench.cmake)
include(${PROJECT_SOURCE_DIR}/cmake/Package.cmake)

# Every shipped executable must run on a bare Windows: system DLLs only, no mingw runtime DLLs.
find_program(TARVIK_OBJDUMP NAMES ${CMAKE_OBJDUMP} x86_64-w64-mingw32-objdump REQUIRED)
set(TARVIK_SHIPPED_EXES
    Tarvik tarvik-cli tarvik-bench tarvik_core_tests tarvik_cli_tests tarvik_win_tests
    tarvik_e2e_tests)
set(TARVIK_EXE_FILES)
foreach(exe IN LISTS TARVIK_SHIPPED_EXES)
    if(TARGET ${exe})
        list(APPEND TARVIK_EXE_FILES $<TARGET_FILE:${exe}>)
    endif()
endforeach()
add_test(NAME windows_imports_system_dlls_only
    COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/tools/check-imports.sh ${TARVIK_OBJDUMP}
        ${TARVIK_EXE_FILES})
set_tests_properties(windows_imports_system_dlls_only PROPERTIES TIMEOUT 60)
