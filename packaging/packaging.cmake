# What `cmake --install` puts beside the program, and the Debian package built from it with CPack.
# Included from the top-level CMakeLists.txt, so relative paths below are the project's own.

# The release this tree builds. The metainfo file carries the same version and date by hand, and
# tests/packaging checks that the two agree.
set(TARVELO_RELEASE_DATE "2026-12-08")
set(TARVELO_RELEASE_DATE_RFC2822 "Tue, 08 Dec 2026 00:00:00 +0000")   # the same day, for the changelog

set(TARVELO_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")
set(TARVELO_PACKAGING_BINARY_DIR "${PROJECT_BINARY_DIR}/packaging")

# Debian wants manual pages and changelogs compressed with gzip -9, and without the name and time
# stamp that gzip would otherwise write into the header, so that a rebuild gives the same bytes.
find_program(TARVELO_GZIP gzip REQUIRED)

# Writes SOURCE.gz beside SOURCE.
function(tarvelo_gzip source)
    add_custom_command(
        OUTPUT "${source}.gz"
        COMMAND "${TARVELO_GZIP}" -9 -n -k -f "${source}"
        DEPENDS "${source}"
        VERBATIM)
endfunction()

configure_file("${TARVELO_PACKAGING_DIR}/tarvelo.6.in" "${TARVELO_PACKAGING_BINARY_DIR}/tarvelo.6" @ONLY)
# The package is built by the program's own developers from this tree, so in Debian's terms it is
# a native package: its version is the program's, with no Debian revision, and its changelog is
# /usr/share/doc/tarvelo/changelog.gz (lintian wants changelog.Debian.gz only for a revision).
configure_file("${TARVELO_PACKAGING_DIR}/changelog.in" "${TARVELO_PACKAGING_BINARY_DIR}/changelog" @ONLY)
tarvelo_gzip("${TARVELO_PACKAGING_BINARY_DIR}/tarvelo.6")
tarvelo_gzip("${TARVELO_PACKAGING_BINARY_DIR}/changelog")
add_custom_target(tarvelo_packaging_files ALL
    DEPENDS "${TARVELO_PACKAGING_BINARY_DIR}/tarvelo.6.gz" "${TARVELO_PACKAGING_BINARY_DIR}/changelog.gz")

set(TARVELO_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/tarvelo")
install(FILES "${PROJECT_SOURCE_DIR}/resources/tarvelo.desktop"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/applications")
install(FILES "${PROJECT_SOURCE_DIR}/resources/tarvelo-32.png"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/32x32/apps" RENAME tarvelo.png)
install(FILES "${PROJECT_SOURCE_DIR}/resources/tarvelo.svg"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps")
# AppStream wants a reverse-domain component id and the metainfo file named after it; the file's
# <launchable> names tarvelo.desktop, the desktop file name that the program gives Qt.
install(FILES "${PROJECT_SOURCE_DIR}/resources/org.example.tarvelo.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/metainfo")
install(FILES "${TARVELO_PACKAGING_BINARY_DIR}/tarvelo.6.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
install(FILES "${TARVELO_PACKAGING_DIR}/copyright"
        DESTINATION "${TARVELO_DOCDIR}")
# The changelog, in Debian's format, belongs to the package alone: a plain `cmake --install` leaves
# it out, and CPack installs this component on top of the default ones (CPACK_INSTALL_CMAKE_PROJECTS
# below).
install(FILES "${TARVELO_PACKAGING_BINARY_DIR}/changelog.gz"
        DESTINATION "${TARVELO_DOCDIR}" COMPONENT debian EXCLUDE_FROM_ALL)

# The Debian package: `cmake --build . --target package`, or `make package` at the top.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvelo)
set(CPACK_PACKAGE_VENDOR "Tarvelo team")
set(CPACK_PACKAGE_CONTACT "Tarvelo team <tarvelo@example.org>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "multiple-choice quiz of computer knowledge")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvelo is a desktop quiz for one player: up to fifteen multiple-choice
questions on computer knowledge, drawn at random from a fixed bank, with a
50-50 lifeline to use twice in a game and praise in Hinglish for every right
answer. A wrong answer ends the game.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/"
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};debian;/")
set(CPACK_STRIP_FILES ON)
# Read by debian_layout.cmake, which CPack runs on the staged tree before it packs it.
set(CPACK_TARVELO_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS "${TARVELO_PACKAGING_DIR}/debian_layout.cmake")
# The times in the package are the last commit's, so that it can be made again to the byte.
set(CPACK_TARVELO_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
set(CPACK_PROJECT_CONFIG_FILE "${TARVELO_PACKAGING_DIR}/package_time.cmake")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Built for another architecture, the package is for that one, named as Debian names it.
if(CMAKE_CROSSCOMPILING)
    execute_process(COMMAND dpkg-architecture --host-type "${CMAKE_LIBRARY_ARCHITECTURE}" --query DEB_HOST_ARCH
                    OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE
                    ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
endif()
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/tarvelo")
# The libraries come from dpkg-shlibdeps. Qt loads its window-system plugins at run time, so no
# library dependency names them: the X11 one is in qt6-qpa-plugins, the Wayland one in qt6-wayland.
# The fonts are the faces the screens draw in place of the designed ones (tests/fonts_installed.sh).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, fonts-urw-base35")
# Where the game asks Qt's accessibility bridge to read the desktop's status again (screens/
# screen_reader_switch.cpp), it calls an interface that Qt keeps only within one version.
if(TARVELO_FOLLOWS_SCREEN_READER_BY_HAND)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-base-abi (= ${Qt6Core_VERSION})")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
