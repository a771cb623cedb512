# Defines tarvik_add_core_library(), so the core can be built again with other instrumentation.

# Creates a static library NAME from TARVIK_CORE_SOURCES; extra arguments are interface targets
# (for example sanitizer flags) that the library and everything linking it are built with.
function(tarvik_add_core_library name)
    list(TRANSFORM TARVIK_CORE_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
    add_library(${name} STATIC ${sources})
    # Includes are written from the repository root, e.g. "model/Archive.h".
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE tarvik_options PUBLIC ${ARGN})
endfunction()
