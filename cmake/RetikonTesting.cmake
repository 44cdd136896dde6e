# SPDX-License-Identifier: MIT
# retikon_unit_test(NAME SOURCES ... LIBRARIES ...): a GoogleTest executable,
# each test case a CTest test labelled "unit".
function(retikon_unit_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name}
    PROPERTIES LABELS unit ENVIRONMENT "QT_QPA_PLATFORM=offscreen;RETIKON_BUILD=${PROJECT_BINARY_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# retikon_script_test(NAME SCRIPT LABEL): a Python test script run against
# the programs of this build.
function(retikon_script_test name script label)
  add_test(NAME ${name} COMMAND python3 ${script})
  set_tests_properties(${name} PROPERTIES
    LABELS ${label} TIMEOUT 300
    ENVIRONMENT "RETIKON_BUILD=${PROJECT_BINARY_DIR};RETIKON_SOURCE=${PROJECT_SOURCE_DIR};PYTHONPATH=${CMAKE_CURRENT_SOURCE_DIR}:${PROJECT_SOURCE_DIR}/tests/e2e:${PROJECT_SOURCE_DIR}/tests/integration")
endfunction()

# retikon_hardening_test(NAME SCRIPT): a Python test that tries to break the
# real programs on the display and bus of scripts/test. It runs in the
# sanitizer build too, where the programs under test are sanitized.
function(retikon_hardening_test name script)
  retikon_script_test(${name} ${script} hardening)
  set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 600)
endfunction()

# retikon_e2e_test(NAME SCRIPT): a Python end-to-end test that runs the real
# programs on the display and bus that scripts/test provides. Serial: they
# share one X server.
function(retikon_e2e_test name script)
  add_test(NAME ${name} COMMAND python3 ${script})
  set_tests_properties(${name} PROPERTIES
    LABELS e2e RUN_SERIAL TRUE TIMEOUT 300
    ENVIRONMENT "RETIKON_BUILD=${PROJECT_BINARY_DIR};RETIKON_SOURCE=${PROJECT_SOURCE_DIR};PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/e2e")
endfunction()
