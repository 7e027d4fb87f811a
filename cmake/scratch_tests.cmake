# Tests whose files live in a scratch folder under the temporary folder of the test run, not
# in the build tree: one folder per group and build tree, removed by a cleanup test once the
# group's tests are done (CTest runs it also for a selection of them).
string(MD5 _build_tree_hash "${PROJECT_BINARY_DIR}")
string(SUBSTRING "${_build_tree_hash}" 0 12 _build_tree_hash)
set(SDB2IFC_SCRATCH_PREFIX "sdb2ifc-tests-${_build_tree_hash}")

# sdb2ifc_add_scratch_test(<group> <name> COMMAND <command> [<argument>...]
#                          [SETUP <fixture>...] [REQUIRES <fixture>...])
# "@scratch@" in an argument names the group's folder. SETUP and REQUIRES are the test's own
# fixtures (FIXTURES_SETUP, FIXTURES_REQUIRED), beside the group's folder.
function(sdb2ifc_add_scratch_test group name)
  cmake_parse_arguments(ARG "" "" "COMMAND;SETUP;REQUIRES" ${ARGN})
  set(folder ${SDB2IFC_SCRATCH_PREFIX}-${group})
  set(run ${PROJECT_SOURCE_DIR}/tests/scratch_run.sh)
  add_test(NAME ${name} COMMAND ${run} ${folder} ${ARG_COMMAND})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${group}_scratch;${ARG_REQUIRES}")
  if(ARG_SETUP)
    set_tests_properties(${name} PROPERTIES FIXTURES_SETUP "${ARG_SETUP}")
  endif()
  if(NOT TEST ${group}_scratch_removed)
    add_test(NAME ${group}_scratch_removed COMMAND ${run} --remove ${folder})
    set_tests_properties(${group}_scratch_removed PROPERTIES FIXTURES_CLEANUP ${group}_scratch)
  endif()
endfunction()
