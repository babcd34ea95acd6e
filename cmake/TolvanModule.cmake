# One library per source folder: tolvan_module(NAME [SUBFOLDERS] DEPS ... PRIVATE ...) builds
# every .cpp of the calling folder (and, with SUBFOLDERS, of the folders below it) but main.cpp
# into tolvan_NAME. DEPS are what the module's headers expose to its users; PRIVATE what only
# its sources use. The folder is the unit of architecture, so adding a file to a module needs
# no CMake edit; a large module groups its files into subfolders by concern.
function(tolvan_module name)
  cmake_parse_arguments(ARG "SUBFOLDERS" "" "DEPS;PRIVATE" ${ARGN})
  if(ARG_SUBFOLDERS)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(sources)
    add_library(tolvan_${name} STATIC ${sources})
    target_include_directories(tolvan_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(tolvan_${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE})
  else()
    if(ARG_PRIVATE)
      message(FATAL_ERROR "tolvan_${name} has no sources, so nothing can use ${ARG_PRIVATE} privately")
    endif()
    add_library(tolvan_${name} INTERFACE)
    target_include_directories(tolvan_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(tolvan_${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# One GoogleTest executable per test folder: tolvan_test_module(NAME DEPS ...) builds every
# .cpp of the calling folder into tests_NAME and registers each test case with CTest.
function(tolvan_test_module name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(tests_${name} ${sources})
  target_link_libraries(tests_${name} PRIVATE ${ARG_DEPS} tolvan_test_support GTest::gmock GTest::gtest_main)
  target_compile_definitions(tests_${name} PRIVATE
    TOLVAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TOLVAN_CORPORA_DIR="${TOLVAN_CORPORA_DIR}")
  gtest_discover_tests(tests_${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${name})
endfunction()

# A libFuzzer target: tolvan_fuzz_target(NAME SOURCE DEPS ...).
function(tolvan_fuzz_target name source)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  if(NOT TOLVAN_FUZZ)
    return()
  endif()
  add_executable(fuzz_${name} ${source})
  target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(fuzz_${name} PRIVATE ${ARG_DEPS})
  set_target_properties(fuzz_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()
