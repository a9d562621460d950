# Three Debian packages from one source, one per install component:
#   lmkinterface  the window (component window); recommends lmkctl
#   lmkctl        the command line, without Qt Widgets and Multimedia (cli)
#   lmk-sim       the simulator and its USB library (sim)
#   cpack -G DEB   (scripts/package.sh does it from a build)
# Their dependencies come from the binaries (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lmkinterface)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "lmkinterface developers <maintainers@lmkinterface.invalid>")
# No package-wide summary: CPack would put it in front of every package's own
# description, so each package's first description line is its synopsis.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL window cli sim)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SOURCE lmkinterface)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)

set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME lmkinterface)
set(CPACK_DEBIAN_WINDOW_PACKAGE_SECTION electronics)
# Qt's Wayland platform is a plugin, not linked; X11 and offscreen come with Qt Gui.
set(CPACK_DEBIAN_WINDOW_PACKAGE_RECOMMENDS "lmkctl, qt6-wayland")
set(CPACK_DEBIAN_WINDOW_DESCRIPTION
    "USB / WLAN interface to the LMK54/55 radio receiver
The window updates the receiver's configuration and external tasks, copies
its screen, exchanges terminal lines with it, configures its WiFi access
point and reads and writes its memory slots, over USB (through the maker's
USB library) or over WLAN.")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME lmkctl)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_CLI_DESCRIPTION
    "command line for the LMK54/55 radio receiver
It synchronises, lists tasks, uploads files, copies the screen, reads and
writes the memory slots and talks to the terminal and the access point of
the receiver, from scripts and on machines without a display. Shell
completion for bash and zsh is included.")

set(CPACK_DEBIAN_SIM_PACKAGE_NAME lmk-sim)
set(CPACK_DEBIAN_SIM_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_SIM_DESCRIPTION
    "simulated LMK54/55 radio receiver with its USB library
It answers like the receiver over TCP on the loopback address and, through
a simulated USB library, over USB, with fault injection, for trying and
testing the window and the command line without a receiver.")
include(CPack)
