# Installing the program and packaging it as a .deb.
#
#   cmake --install build [--prefix DIR]     the program, its desktop entry, AppStream metainfo,
#                                            icons, man page, README and licence
#   cd build && cpack -G DEB                 the same tree as zazorudu_VERSION_ARCH.deb
#
# Only the program is installed: no test programs, benchmarks, static libraries or headers (the
# platform and the application are static libraries linked into it).
include(GNUInstallDirs)

# The application's id is ZAZ_APP_ID (the top CMakeLists.txt).
# Every rule here is of the component "zazorudu"; the .deb holds every component.
install(TARGETS zazorudu RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT zazorudu)
add_subdirectory(${PROJECT_SOURCE_DIR}/data ${PROJECT_BINARY_DIR}/data)

# ---- the .deb -----------------------------------------------------------------------------------
set(CPACK_PACKAGE_NAME zazorudu)
set(CPACK_PACKAGE_VENDOR "The Zazorudu authors")
set(CPACK_PACKAGE_CONTACT "The Zazorudu authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "show the GPS position and share it by e-mail, SMS, a note or the clipboard")
set(CPACK_PACKAGE_DESCRIPTION
    "A small, touch-first program that shows the position of a GPS receiver, read through gpsd\n"
    "(or from an NMEA log, a serial receiver or a built-in demo track), and shares it four ways:\n"
    "an e-mail with a map link, an SMS text, a GeoNote file stamped with the date, time and\n"
    "position, and the bare latitude and longitude on the clipboard. Made for handhelds and Linux\n"
    "phones used with a stylus or a finger, it runs as well on a desktop or a laptop.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://zazorudu.org/")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_INSTALL_DIRECTORY zazorudu)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # zazorudu_1.0_amd64.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Zazorudu authors")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends: from the shared libraries the program links (dpkg-shlibdeps), and GMime, which the
# program loads itself when it first writes an e-mail to the outbox, so dpkg-shlibdeps cannot see
# it (3.0.0: the oldest version with every function the program looks up).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgmime-3.0-0 (>= 3.0.0)")
# The usual GPS source; an NMEA log, a serial receiver or the demo track do without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS gpsd)
# PDA_COMPOSE=desktop hands messages to xdg-email and xdg-open.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xdg-utils)

include(CPack)
