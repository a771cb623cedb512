# TargetBoard.exe, the program that end-to-end tests and the demo have Tarvik click on, and
# tarvik_board_client, with which their harnesses start it, drive it and read its log.
set(TARVIK_BOARD_DIR ${PROJECT_SOURCE_DIR}/tests/board)

add_library(tarvik_board_client STATIC
    ${TARVIK_BOARD_DIR}/BoardArguments.cpp
    ${TARVIK_BOARD_DIR}/BoardLog.cpp
    ${TARVIK_BOARD_DIR}/BoardPicture.cpp
    ${TARVIK_BOARD_DIR}/BoardProcess.cpp)
# Includes are written from the repository root, e.g. "tests/board/BoardProcess.h".
target_include_directories(tarvik_board_client PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tarvik_board_client
    PUBLIC tarvik_core user32
    PRIVATE tarvik_options)

add_executable(TargetBoard WIN32
    ${TARVIK_BOARD_DIR}/TargetBoardMain.cpp
    ${TARVIK_BOARD_DIR}/BoardLogWriter.cpp
    ${TARVIK_BOARD_DIR}/BoardWindow.cpp)
# -municode selects wWinMain as the entry point.
target_link_options(TargetBoard PRIVATE -municode)
target_link_libraries(TargetBoard PRIVATE
    tarvik_board_client tarvik_core tarvik_options user32 gdi32 shell32)
