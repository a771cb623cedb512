# The picture generator (host only): draws res/icons, res/bitmaps and res/cursors; its tests
# regenerate every picture and compare it with the committed files.
set(TARVIK_RESGEN_MAIN ${PROJECT_SOURCE_DIR}/tools/resgen/ResGenMain.cpp)
file(GLOB TARVIK_RESGEN_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/resgen/*.cpp)
list(REMOVE_ITEM TARVIK_RESGEN_SOURCES ${TARVIK_RESGEN_MAIN})
add_library(tarvik_resgen STATIC ${TARVIK_RESGEN_SOURCES})
target_include_directories(tarvik_resgen PUBLIC ${PROJECT_SOURCE_DIR})
# The committed pictures must come out byte-identical everywhere: no fused multiply-add.
target_compile_options(tarvik_resgen PRIVATE -ffp-contract=off)
target_link_libraries(tarvik_resgen PRIVATE tarvik_options)
add_executable(tarvik-resgen ${TARVIK_RESGEN_MAIN})
target_link_libraries(tarvik-resgen PRIVATE tarvik_resgen tarvik_options)
tarvik_add_unit_tests(tarvik_resgen_tests
    SOURCES ${PROJECT_SOURCE_DIR}/tests/resgen/ResGenTest.cpp LIBS tarvik_resgen)
target_compile_definitions(tarvik_resgen_tests PRIVATE TARVIK_RES_DIR="${PROJECT_SOURCE_DIR}/res")
