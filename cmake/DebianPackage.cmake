# The Debian package, built by CPack from an install with the prefix /usr (scripts/package):
#   cpack --config build/release/CPackConfig.cmake -B build/package
# leaves quillo-config_<version>_<arch>.deb. Dependencies come from the binaries (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillo-config)
set(CPACK_PACKAGE_VENDOR Aldrun)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure Aldrun Quillo room fans over USB")
# Lines of at most 79 characters (Debian's limit for the extended description).
set(CPACK_PACKAGE_DESCRIPTION
    "Quillo Config is the tool with which the owner or installer of an Aldrun\n"
    "Quillo room fan (models Solvi and Pargo) configures the unit over USB: it\n"
    "lists the attached units, reads all their settings at once, writes the Wi-Fi\n"
    "and fan settings, restores the defaults, resets the filter timer, shows live\n"
    "states and scans Wi-Fi networks through the unit. It speaks ten languages.\n"
    ".\n"
    "The package's udev rule gives the user at the computer access to the unit\n"
    "without root.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
# Absolute destinations (the udev rule) land in the package, not on the building machine.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUILLO_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/linux/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
