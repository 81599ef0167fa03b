# The Debian package: `cpack -G DEB` in the build folder. It holds what
# `cmake --install` installs, below /usr, with its dependencies computed from
# the shared libraries the executable links.
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
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
