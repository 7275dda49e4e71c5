# `make package`: a Debian package of what `cmake --install` installs, under /usr, with its
# dependencies worked out by dpkg-shlibdeps from the libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wloe)
set(CPACK_PACKAGE_VERSION "1.0~beta6")
set(CPACK_PACKAGE_VENDOR "WLOE")
set(CPACK_PACKAGE_CONTACT "WLOE maintainers <wloe@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Wavelith Object Editor: patch banks, layer libraries and samples")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A desktop editor for the objects the Wavelith software synthesizer plays: banks of\n\
128 patches (.pat), libraries of layers mapping samples onto the MIDI keys (.lay) and\n\
16-bit samples (.wav, .sam). wloe-cli runs the same operations from scripts.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
# Staged with DESTDIR, so the install step sees the real prefix (the demo library names it).
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
