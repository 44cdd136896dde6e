# SPDX-License-Identifier: MIT
# Run by `cmake --install` (see RetikonInstall.cmake): writes the menu entry
# for the host and the pane as installed, and installs it. Paths in the entry
# are the installed ones, without DESTDIR.
set(vantrel_host "${vantrel_bindir}/prefpane-host")
if(NOT IS_ABSOLUTE "${vantrel_host}")
  set(vantrel_host "${CMAKE_INSTALL_PREFIX}/${vantrel_host}")
endif()
execute_process(COMMAND "${vantrel_desktop_exec}" "${vantrel_host}" "${VANTREL_INSTALLED_PANE}"
  OUTPUT_VARIABLE EXEC OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE quoted)
if(NOT quoted EQUAL 0)
  message(FATAL_ERROR "The menu entry's Exec line could not be made for ${vantrel_host} and ${VANTREL_INSTALLED_PANE}")
endif()
configure_file("${vantrel_entry_template}" "${vantrel_entry_stage}/com.Halvix.Vantrel.desktop" @ONLY)
set(vantrel_applications "${vantrel_datadir}/applications")
if(NOT IS_ABSOLUTE "${vantrel_applications}")
  set(vantrel_applications "${CMAKE_INSTALL_PREFIX}/${vantrel_applications}")
endif()
file(INSTALL "${vantrel_entry_stage}/com.Halvix.Vantrel.desktop" DESTINATION "${vantrel_applications}")
