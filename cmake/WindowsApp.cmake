# Windows-only targets: Tarvik.exe, its tests under Wine, and the Wine test session fixture.
enable_language(RC)

set(TARVIK_WINDOWS_LIBS user32 gdi32 comctl32)

# Window, capture and framework code shared by Tarvik.exe and its Windows tests.
file(GLOB TARVIK_WIN_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/ui/*.cpp
    ${PROJECT_SOURCE_DIR}/capture/*.cpp
    ${PROJECT_SOURCE_DIR}/framework/*.cpp)
if(TARVIK_WIN_SOURCES)
    add_library(tarvik_win STATIC ${TARVIK_WIN_SOURCES})
    target_link_libraries(tarvik_win PUBLIC tarvik_core ${TARVIK_WINDOWS_LIBS} PRIVATE tarvik_options)
    set(TARVIK_WIN_LIBRARY tarvik_win)
endif()

file(GLOB TARVIK_APP_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/app/*.cpp)
add_executable(Tarvik WIN32 ${TARVIK_APP_SOURCES} ${PROJECT_SOURCE_DIR}/res/Tarvik.rc)
target_include_directories(Tarvik PRIVATE ${PROJECT_SOURCE_DIR}/res)
# -municode selects wWinMain as the entry point.
target_link_options(Tarvik PRIVATE -municode)
target_link_libraries(Tarvik PRIVATE
    ${TARVIK_WIN_LIBRARY} tarvik_core tarvik_options ${TARVIK_WINDOWS_LIBS})
set_source_files_properties(${PROJECT_SOURCE_DIR}/res/Tarvik.rc PROPERTIES OBJECT_DEPENDS
    "${PROJECT_SOURCE_DIR}/res/Tarvik.manifest;${PROJECT_SOURCE_DIR}/res/resource.h")

# Tests that drive the real Tarvik.exe; they find it next to their own executable.
file(GLOB TARVIK_WIN_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/*.cpp)
add_executable(tarvik_win_tests ${TARVIK_WIN_TEST_SOURCES})
target_link_libraries(tarvik_win_tests PRIVATE
    ${TARVIK_WIN_LIBRARY} tarvik_core tarvik_options gmock gtest_main ${TARVIK_WINDOWS_LIBS} version)
add_dependencies(tarvik_win_tests Tarvik)
add_test(NAME tarvik_win_tests COMMAND tarvik_win_tests)
set_tests_properties(tarvik_win_tests PROPERTIES FIXTURES_REQUIRED wine_session TIMEOUT 300)

# The Wine test session: Xvfb plus a persistent wineserver, started before and stopped after
# every test that requires the wine_session fixture.
add_test(NAME wine_session_start
    COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/tools/wine-session.sh start ${CMAKE_BINARY_DIR})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 300)
add_test(NAME wine_session_stop
    COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/tools/wine-session.sh stop ${CMAKE_BINARY_DIR})
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session TIMEOUT 120)

# Every shipped executable must run on a bare Windows: system DLLs only, no mingw runtime DLLs.
find_program(TARVIK_OBJDUMP NAMES ${CMAKE_OBJDUMP} x86_64-w64-mingw32-objdump REQUIRED)
set(TARVIK_SHIPPED_EXES Tarvik tarvik-cli tarvik-bench tarvik_core_tests tarvik_win_tests)
set(TARVIK_EXE_FILES)
foreach(exe IN LISTS TARVIK_SHIPPED_EXES)
    if(TARGET ${exe})
        list(APPEND TARVIK_EXE_FILES $<TARGET_FILE:${exe}>)
    endif()
endforeach()
add_test(NAME windows_imports_system_dlls_only
    COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/tools/check-imports.sh ${TARVIK_OBJDUMP}
        ${TARVIK_EXE_FILES})
