# SPDX-License-Identifier: MIT
# The Debian package, built by CPack (scripts/package): one package "vantrel"
# with everything `cmake --install` puts in place, its dependencies computed
# from the binaries by dpkg-shlibdeps.
set(VANTREL_PACKAGE_MAINTAINER "The RetikonX authors <retikonx@halvix.invalid>" CACHE STRING
  "Maintainer of the Debian package: name <address>")
set(vantrel_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/vantrel)

# copyright in Debian's machine-readable form, the licence text from LICENSE.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE vantrel_licence)
string(REGEX REPLACE "^MIT License\n\nCopyright[^\n]*\n\n" "" vantrel_licence "${vantrel_licence}")
string(REGEX REPLACE "\n+$" "" vantrel_licence "${vantrel_licence}")
string(REPLACE "\n\n" "\n.\n" vantrel_licence "${vantrel_licence}")
string(REPLACE "\n" "\n " vantrel_licence " ${vantrel_licence}")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/debian/copyright CONTENT "\
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: RetikonX
Source: @PROJECT_HOMEPAGE_URL@

Files: *
Copyright: 2026 The RetikonX authors
License: MIT

License: MIT
@vantrel_licence@
" @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/debian/copyright DESTINATION ${vantrel_docdir} COMPONENT desktop)

configure_file(cmake/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
execute_process(COMMAND gzip -9n -c ${PROJECT_BINARY_DIR}/debian/changelog
  OUTPUT_FILE ${PROJECT_BINARY_DIR}/debian/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_BINARY_DIR}/debian/changelog.gz DESTINATION ${vantrel_docdir} COMPONENT desktop)

set(CPACK_GENERATOR DEB)
# The description holds quotes: written into CPackConfig.cmake as they are.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "The RetikonX authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VANTREL_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "crosshair overlay around the mouse pointer, with its settings window")
set(CPACK_PACKAGE_DESCRIPTION "\
RetikonX draws a crosshair around the mouse pointer on X11 desktops (and on
Wayland through XWayland): four thin arms above every other window that leave
a gap around the pointer and let clicks pass through, with an optional readout
of the pointer's coordinates, shown always or only while chosen modifier keys
are held.

Vantrel, its settings window (the menu entry Vantrel, program prefpane-host),
edits the crosshair's colour, width, gap, shadow and readout, starts and stops
the overlay and makes it a login item. A second page sets where scroll bars put
their arrows and the pointer speed on GNOME, KDE Plasma, Xfce and plain X11,
and restarts the file manager.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed with DESTDIR, so the menu entry names /usr, not the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The pane runs xdg-open for its link and the desktop's own tools when present.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
