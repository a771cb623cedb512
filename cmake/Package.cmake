# The Windows Installer package and the portable zip (tools/make-package.sh), built with every
# build of the windows preset: package/Tarvik-<version>-x64.msi and .zip. An older-versioned
# package from the same executables sits in package/older for the upgrade scene.
find_program(TARVIK_WIXL wixl REQUIRED)
find_program(TARVIK_MSIINFO msiinfo REQUIRED)
find_program(TARVIK_MSIBUILD msibuild REQUIRED)
find_program(TARVIK_ZIP zip REQUIRED)
find_program(TARVIK_UNZIP unzip REQUIRED)

# The association names the document icon by its resource id; resource.h holds the number.
file(STRINGS ${PROJECT_SOURCE_DIR}/res/resource.h TARVIK_DOCUMENT_ICON_LINE
    REGEX "^#define IDI_TRVK_DOCUMENT [0-9]+$")
string(REGEX REPLACE ".* " "" TARVIK_DOCUMENT_ICON_ID "${TARVIK_DOCUMENT_ICON_LINE}")

set(TARVIK_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(TARVIK_PACKAGE_MSI ${TARVIK_PACKAGE_DIR}/Tarvik-${TARVIK_VERSION_TEXT}-x64.msi)
set(TARVIK_PACKAGE_ZIP ${TARVIK_PACKAGE_DIR}/Tarvik-${TARVIK_VERSION_TEXT}-x64.zip)
set(TARVIK_OLDER_VERSION 0.0.1)
if(NOT TARVIK_VERSION_TEXT VERSION_GREATER TARVIK_OLDER_VERSION)
    message(FATAL_ERROR "the upgrade scene needs a version above ${TARVIK_OLDER_VERSION}")
endif()
set(TARVIK_OLDER_MSI ${TARVIK_PACKAGE_DIR}/older/Tarvik-${TARVIK_OLDER_VERSION}-x64.msi)
set(TARVIK_PACKAGE_SOURCES
    ${PROJECT_SOURCE_DIR}/tools/make-package.sh
    ${PROJECT_SOURCE_DIR}/tools/package/Tarvik.wxs
    ${PROJECT_SOURCE_DIR}/tools/package/ReadMe.txt
    ${PROJECT_SOURCE_DIR}/res/icons/app.ico)

add_custom_command(OUTPUT ${TARVIK_PACKAGE_MSI} ${TARVIK_PACKAGE_ZIP}
    COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/tools/make-package.sh $<TARGET_FILE_DIR:Tarvik>
        ${TARVIK_VERSION_TEXT} ${TARVIK_DOCUMENT_ICON_ID} ${TARVIK_PACKAGE_DIR}
    DEPENDS Tarvik tarvik-cli ${TARVIK_PACKAGE_SOURCES}
    COMMENT "Packaging Tarvik ${TARVIK_VERSION_TEXT}: MSI and zip"
    VERBATIM)
add_custom_command(OUTPUT ${TARVIK_OLDER_MSI}
    COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/tools/make-package.sh $<TARGET_FILE_DIR:Tarvik>
        ${TARVIK_OLDER_VERSION} ${TARVIK_DOCUMENT_ICON_ID} ${TARVIK_PACKAGE_DIR}/older
    DEPENDS Tarvik tarvik-cli ${TARVIK_PACKAGE_SOURCES}
    COMMENT "Packaging Tarvik as version ${TARVIK_OLDER_VERSION} for the upgrade scene"
    VERBATIM)
add_custom_target(tarvik_package ALL
    DEPENDS ${TARVIK_PACKAGE_MSI} ${TARVIK_PACKAGE_ZIP} ${TARVIK_OLDER_MSI})

# The package holds exactly the files, shortcut, registry rows and actions it should.
add_test(NAME tarvik_package_contents
    COMMAND /bin/bash ${PROJECT_SOURCE_DIR}/tests/installer/check-package.sh
        ${TARVIK_PACKAGE_MSI} ${TARVIK_PACKAGE_ZIP} ${TARVIK_VERSION_TEXT}
        ${TARVIK_DOCUMENT_ICON_ID})
set_tests_properties(tarvik_package_contents PROPERTIES TIMEOUT 60)

# The scene under Wine: install over an older version, open .trvk files through the shell,
# repair, uninstall; and the zip's programs, unpacked first into package/unzipped.
add_executable(tarvik_installer_tests
    ${PROJECT_SOURCE_DIR}/tests/installer/InstallerSceneTest.cpp
    ${PROJECT_SOURCE_DIR}/tests/e2e/EndToEndTest.cpp)
target_compile_definitions(tarvik_installer_tests PRIVATE
    TARVIK_OLDER_VERSION="${TARVIK_OLDER_VERSION}")
target_link_libraries(tarvik_installer_tests PRIVATE
    tarvik_e2e_support tarvik_options gmock gtest_main msi ole32 uuid)
add_dependencies(tarvik_installer_tests tarvik_package)
add_test(NAME tarvik_package_unzip
    COMMAND /bin/bash -c "rm -rf \"$1\" && mkdir -p \"$1\" && \"$2\" -q \"$3\" -d \"$1\""
        unzip ${TARVIK_PACKAGE_DIR}/unzipped ${TARVIK_UNZIP} ${TARVIK_PACKAGE_ZIP})
set_tests_properties(tarvik_package_unzip PROPERTIES FIXTURES_SETUP tarvik_unzipped TIMEOUT 60)
add_test(NAME tarvik_installer_scene COMMAND tarvik_installer_tests)
# The scene installs into the shared Wine prefix and owns the screen while it runs; it
# uninstalls and puts the .trvk association and the autorun value back at its end.
set_tests_properties(tarvik_installer_scene PROPERTIES
    FIXTURES_REQUIRED "wine_session;tarvik_unzipped" RESOURCE_LOCK wine_desktop TIMEOUT 600)
