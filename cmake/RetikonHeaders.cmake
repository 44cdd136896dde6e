# SPDX-License-Identifier: MIT
# retikon_library_headers(TARGET [FOLDER folder] [HEADERS name...] [EXCEPT name...]):
# the headers a library offers, and only them, on the include path of
# whatever links it. Each is linked into ${PROJECT_BINARY_DIR}/include/TARGET
# under its path from the repository root, so code includes it as
# "platform/x11/x11_window.h" and finds it only through the libraries it
# links: a header used without its library fails the build.
#
# The headers are those of FOLDER, by default the folder the library is
# declared in: all of them (found afresh whenever CMake runs), those named
# in HEADERS, or all but those named in EXCEPT, where libraries share a
# folder.
function(retikon_library_headers target)
  cmake_parse_arguments(ARG "" "FOLDER" "HEADERS;EXCEPT" ${ARGN})
  set(source ${CMAKE_CURRENT_SOURCE_DIR})
  if(ARG_FOLDER)
    set(source ${source}/${ARG_FOLDER})
  endif()
  if(ARG_HEADERS)
    list(TRANSFORM ARG_HEADERS PREPEND ${source}/ OUTPUT_VARIABLE headers)
  else()
    file(GLOB headers CONFIGURE_DEPENDS ${source}/*.h)
    foreach(name IN LISTS ARG_EXCEPT)
      list(REMOVE_ITEM headers ${source}/${name})
    endforeach()
  endif()

  set(root ${PROJECT_BINARY_DIR}/include/${target})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${source})
  # Made afresh, so a header renamed or taken away is gone here too.
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header IN LISTS headers)
    if(NOT EXISTS ${header})
      message(FATAL_ERROR "${target}: no header ${header}")
    endif()
    get_filename_component(name ${header} NAME)
    file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
  endforeach()

  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
