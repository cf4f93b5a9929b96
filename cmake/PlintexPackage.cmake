# The Debian package: `cpack -G DEB` in the build folder (./dev package does it).
set(CPACK_PACKAGE_NAME plintex)
set(CPACK_PACKAGE_VENDOR "The Plintex developers")
set(CPACK_PACKAGE_CONTACT "${PLINTEX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reshape plain text laid out in rows and columns")
# Wrapped by hand: the package's description lines stay within 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Plintex reshapes plain text laid out in rows and columns: reports, listings,
fixed-width data, lists and prose pasted from web pages. Pick a function, fill
in its small parameter panel and run it: the text is rewritten in place, with
progress, a stop button and undo.

Every function also runs from a shell through plintex-cli.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies come from the binaries' own libraries (dpkg-shlibdeps). The one exception is a
# plugin no binary links: Qt loads the toolbar's SVG icons through the icon engine of libqt6svg6
# (the platform plugins ship with libqt6gui6, which is linked).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
