# A Debian package of everything that `cmake --install` puts in place:
#   cpack -G DEB   (scripts/package.sh does it from a build)
# Its dependencies come from the binaries (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lmkinterface)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "lmkinterface developers <maintainers@lmkinterface.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "USB / WLAN interface to the LMK54/55 radio receiver")
# The long description; the summary above is its first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "lmkinterface updates the receiver's configuration and external tasks, copies
its screen, exchanges terminal lines with it, configures its WiFi access point
and reads and writes its memory slots, over USB (through the maker's USB
library) or over WLAN.

lmkctl does the same from the command line; lmk-sim simulates a receiver.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Wayland platform is a plugin, not linked; X11 and offscreen come with Qt Gui.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
