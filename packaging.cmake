# The Debian package: `cpack -G DEB` in the build folder. It holds what
# `cmake --install` installs, below /usr: the programs, the menu entry, icon,
# manual page, software-centre entry and the shell's translations, and the
# copyright and changelog that Debian asks of every package (packaging/).
set(CPACK_PACKAGE_NAME vantrelnut)
set(CPACK_PACKAGE_VENDOR Vantrel)
set(CPACK_PACKAGE_CONTACT "VantrelNut developers <vantrelnut@vantrel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop shell of the Mird colour-measurement web application")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Opens the Mird web application in a window of its own and lets it drive\n"
    "the colour-measurement instrument: connect, calibrate, measure densities,\n"
    "and save and open PDF reports.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The dependencies on the libraries the programs link; not by CPack's own
# scan, which would add ldconfig to the maintainer scripts (the script says why).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/packaging/dependencies.cmake)
# Qt's own translations, the browser engine's menus among them
# (qtwebengine_<language>.qm), for the dialogs in the person's language.
if(QT_VERSION_MAJOR EQUAL 5)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qttranslations5-l10n)
else()
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
endif()

# The changelog names the project's version; the copyright file its owners.
configure_file(packaging/changelog.in changelog @ONLY)
add_compressed_file(compressed_changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog)
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_PACKAGE_NAME})
include(CPack)
