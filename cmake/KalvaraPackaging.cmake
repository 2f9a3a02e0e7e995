# What a Linux user looks for around the programs: manual pages, shell
# completion, the install-tree check and the Debian package description.
option(KALVARA_BUILD_MANPAGES "Build and install the manual pages (needs scdoc)" ON)

if(KALVARA_BUILD_MANPAGES)
    add_subdirectory(man)
endif()
add_subdirectory(completion)

# The installed tree is checked with a plain C client, which cannot load a
# library built with the sanitizers; that build checks the code, not the tree.
if(KALVARA_BUILD_TESTS AND NOT KALVARA_SANITIZE)
    add_subdirectory(tests/install)
endif()

# --- The Debian package (scripts/package.sh) --------------------------------
# Debian wants its own copyright file and a changelog beside README and
# LICENSE; other installs do without them.
option(KALVARA_PACKAGE_DEB "Install the Debian copyright file and changelog" OFF)
if(KALVARA_PACKAGE_DEB)
    find_program(KALVARA_GZIP gzip REQUIRED)
    set(KALVARA_DEB_SOURCE ${PROJECT_SOURCE_DIR}/packaging/debian)
    set(KALVARA_DEB_CHANGELOG ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
    add_custom_command(OUTPUT ${KALVARA_DEB_CHANGELOG}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
        COMMAND ${KALVARA_GZIP} -9 -n -c ${KALVARA_DEB_SOURCE}/changelog > ${KALVARA_DEB_CHANGELOG}
        DEPENDS ${KALVARA_DEB_SOURCE}/changelog
        VERBATIM)
    add_custom_target(kalvara_deb_changelog ALL DEPENDS ${KALVARA_DEB_CHANGELOG})
    install(FILES ${KALVARA_DEB_SOURCE}/copyright ${KALVARA_DEB_CHANGELOG}
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvara)
set(CPACK_PACKAGE_VENDOR "Kalvara Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kalvara Software <packages@quennet.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "print the standard broadcast calendar as PDF")
set(CPACK_PACKAGE_DESCRIPTION
    "Kalvara prints the standard broadcast calendar that radio and television
advertising sales, traffic and billing teams schedule and bill by: weeks run
Monday to Sunday and a broadcast month ends on the last Sunday of its
calendar month. The desktop program writes month, quarter, year, three-year,
keyboard-strip and planning calendars as PDF; kalvara-cli prints months and
weeks as text, CSV or JSON and writes the same calendars without a desktop.
A small library lets companion programs list, find and end processes.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quennet.example/kalvara.html")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies come from the binaries themselves, through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# The library's cache is refreshed by dpkg's ldconfig trigger; the ldconfig
# scripts CPack adds are taken out again by scripts/package.sh.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
include(CPack)
