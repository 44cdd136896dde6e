# SPDX-License-Identifier: MIT
# wayland_client_protocol(TARGET NAME): the client code of one of KDE's
# Wayland protocols (NAME.xml among its protocol files), generated into the
# build tree and compiled into TARGET, whose sources include
# "NAME-client-protocol.h".
function(wayland_client_protocol target name)
  set(xml ${PLASMA_WAYLAND_PROTOCOLS_DIR}/${name}.xml)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name})
  add_custom_command(OUTPUT ${out}-client-protocol.h ${out}-protocol.c
    COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${out}-client-protocol.h
    COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${out}-protocol.c
    DEPENDS ${xml})
  target_sources(${target} PRIVATE ${out}-protocol.c ${out}-client-protocol.h)
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
  target_link_libraries(${target} PRIVATE PkgConfig::WAYLAND_CLIENT)
endfunction()
