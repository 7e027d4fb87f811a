# Compiler flags shared by every target of the project, in one INTERFACE target.
add_library(project_flags INTERFACE)
target_compile_options(project_flags INTERFACE -Wall -Wextra -Wpedantic)
if(SDB2IFC_WERROR)
  target_compile_options(project_flags INTERFACE -Werror)
endif()
if(SDB2IFC_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_compile_options(project_flags INTERFACE ${_san})
  target_link_options(project_flags INTERFACE ${_san})
endif()

# Declares a test executable from sources, linked to the given libraries, registered with CTest.
function(sdb2ifc_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} project_flags GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "SDB2IFC_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
