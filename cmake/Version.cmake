# The one version number of the build: the project version feeds TarvikVersion.h (the version
# resource, the About box) and the package's version and file names (cmake/Package.cmake).
if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "the project version must be three numbers, not ${PROJECT_VERSION}")
endif()
set(TARVIK_VERSION_TEXT ${PROJECT_VERSION})
set(TARVIK_FILE_VERSION_TEXT ${PROJECT_VERSION}.0)
set(TARVIK_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/res/TarvikVersion.h.in
    ${TARVIK_GENERATED_DIR}/TarvikVersion.h @ONLY)
