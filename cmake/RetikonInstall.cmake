# SPDX-License-Identifier: MIT
# What `cmake --install` puts in place, by GNUInstallDirs: the host program,
# the pane bundle (RetikonX.app and the defaults tool inside), the menu entry,
# the icon, the AppStream metainfo, the manual pages and the licence.
#
# Two components: "bundle" is Vantrel.prefPane, "desktop" everything else;
# pane/install/install-pane installs them for one user, the pane in
# ~/Library/PreferencePanes and the rest under ~/.local.

# Where the system-wide pane goes, under the prefix. A pane found anywhere
# but the per-user and the old all-users folders starts the RetikonX.app it
# carries and makes that one the login item.
set(VANTREL_PANE_DIR "${CMAKE_INSTALL_LIBDIR}/vantrel" CACHE STRING
  "Folder of the installed Vantrel.prefPane, relative to CMAKE_INSTALL_PREFIX")
if(IS_ABSOLUTE "${VANTREL_PANE_DIR}")
  message(FATAL_ERROR "VANTREL_PANE_DIR is relative to the install prefix: ${VANTREL_PANE_DIR}")
endif()
set(VANTREL_APP_ID com.Halvix.Vantrel)
set(vantrel_installed_bundle ${VANTREL_PANE_DIR}/Vantrel.prefPane)
# For the manual page.
set(VANTREL_PANE_DIR_FULL ${CMAKE_INSTALL_PREFIX}/${VANTREL_PANE_DIR})

# The bundle as the build made it, its programs through install(TARGETS) so
# they are stripped on request and lose the build's RPATH.
install(DIRECTORY ${PROJECT_BINARY_DIR}/Vantrel.prefPane/ DESTINATION ${vantrel_installed_bundle}
  COMPONENT bundle USE_SOURCE_PERMISSIONS
  REGEX "^${PROJECT_BINARY_DIR}/Vantrel.prefPane/(Contents/MacOS/Vantrel|Contents/Resources/defaults|Contents/Resources/RetikonX.app/Contents/MacOS/RetikonX)$" EXCLUDE)
install(TARGETS Vantrel LIBRARY DESTINATION ${vantrel_installed_bundle}/Contents/MacOS COMPONENT bundle)
install(TARGETS defaults RUNTIME DESTINATION ${vantrel_installed_bundle}/Contents/Resources COMPONENT bundle)
install(TARGETS RetikonX RUNTIME
  DESTINATION ${vantrel_installed_bundle}/Contents/Resources/RetikonX.app/Contents/MacOS COMPONENT bundle)

install(TARGETS prefpane-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)

# The menu entry and the link that puts RetikonX on the command path are
# made at install time: they name the host and the pane where they land,
# which `--prefix` may change, or VANTREL_INSTALLED_PANE given to the install
# (install-pane moves the pane to ~/Library/PreferencePanes). The Exec line
# is quoted by the login items' rules.
install(CODE "
  set(vantrel_desktop_exec \"$<TARGET_FILE:desktop-exec>\")
  set(vantrel_entry_templates \"${PROJECT_SOURCE_DIR}/pane/desktop\")
  set(vantrel_entry_stage \"${PROJECT_BINARY_DIR}/install-stage\")
  set(vantrel_bindir \"${CMAKE_INSTALL_BINDIR}\")
  set(vantrel_datadir \"${CMAKE_INSTALL_DATADIR}\")
  if(NOT DEFINED VANTREL_INSTALLED_PANE)
    set(VANTREL_INSTALLED_PANE \"\${CMAKE_INSTALL_PREFIX}/${vantrel_installed_bundle}\")
  endif()" COMPONENT desktop)
install(SCRIPT cmake/install_paths.cmake COMPONENT desktop)

install(FILES pane/desktop/${VANTREL_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT desktop)
configure_file(pane/desktop/${VANTREL_APP_ID}.metainfo.xml.in
  ${PROJECT_BINARY_DIR}/desktop/${VANTREL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/desktop/${VANTREL_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT desktop)

# Manual pages, compressed as Debian wants them (gzip -9n: no name, no time).
# Made when CMake runs, which it does again when a page changes, so an
# install needs nothing built for them.
set(vantrel_manuals)
foreach(page RetikonX prefpane-host vantrel-defaults)
  configure_file(docs/man/${page}.1.in ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
  execute_process(COMMAND gzip -9n -c ${PROJECT_BINARY_DIR}/man/${page}.1
    OUTPUT_FILE ${PROJECT_BINARY_DIR}/man/${page}.1.gz COMMAND_ERROR_IS_FATAL ANY)
  list(APPEND vantrel_manuals ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
endforeach()
install(FILES ${vantrel_manuals} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT desktop)
