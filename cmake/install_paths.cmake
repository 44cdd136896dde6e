# SPDX-License-Identifier: MIT
# Run by `cmake --install` (see RetikonInstall.cmake): what names the host
# and the pane where they landed, without DESTDIR. The menu entry, whose Exec
# line starts the pane, the overlay's hidden entry, and RetikonX on the
# command path, a relative link to the copy inside the pane.
set(vantrel_host "${vantrel_bindir}/prefpane-host")
if(NOT IS_ABSOLUTE "${vantrel_host}")
  set(vantrel_host "${CMAKE_INSTALL_PREFIX}/${vantrel_host}")
endif()
set(vantrel_overlay "${VANTREL_INSTALLED_PANE}/Contents/Resources/RetikonX.app/Contents/MacOS/RetikonX")
set(vantrel_applications "${vantrel_datadir}/applications")
if(NOT IS_ABSOLUTE "${vantrel_applications}")
  set(vantrel_applications "${CMAKE_INSTALL_PREFIX}/${vantrel_applications}")
endif()
# The pane's menu entry, and the overlay's hidden one (KWin gives a program
# the protocols its entry names, finding the entry by the Exec line).
foreach(entry "Vantrel;${vantrel_host};${VANTREL_INSTALLED_PANE}" "RetikonX;${vantrel_overlay}")
  list(POP_FRONT entry name)
  execute_process(COMMAND "${vantrel_desktop_exec}" ${entry}
    OUTPUT_VARIABLE EXEC OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE quoted)
  if(NOT quoted EQUAL 0)
    message(FATAL_ERROR "The ${name} entry's Exec line could not be made for ${entry}")
  endif()
  configure_file("${vantrel_entry_templates}/com.Halvix.${name}.desktop.in"
    "${vantrel_entry_stage}/com.Halvix.${name}.desktop" @ONLY)
  file(INSTALL "${vantrel_entry_stage}/com.Halvix.${name}.desktop" DESTINATION "${vantrel_applications}")
endforeach()

get_filename_component(vantrel_host_dir "${vantrel_host}" DIRECTORY)
file(RELATIVE_PATH vantrel_overlay_target "${vantrel_host_dir}" "${vantrel_overlay}")
set(vantrel_overlay_link "$ENV{DESTDIR}${vantrel_host_dir}/RetikonX")
message(STATUS "Installing: ${vantrel_overlay_link} -> ${vantrel_overlay_target}")
file(REMOVE "${vantrel_overlay_link}")
file(CREATE_LINK "${vantrel_overlay_target}" "${vantrel_overlay_link}" SYMBOLIC)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${vantrel_host_dir}/RetikonX")
