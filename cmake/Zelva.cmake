# zelva_library(NAME LINKS... [EXCLUDE FILES...]): a library made of every
# .cpp/.h in the folder but the excluded ones (names relative to the folder).
function(zelva_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "EXCLUDE")
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(excluded ${arg_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${arg_UNPARSED_ARGUMENTS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${arg_UNPARSED_ARGUMENTS})
endfunction()

# zelva_window_free_library(NAME FILES... LINKS links...): the window-free part
# of a folder, so that its users and tests need no display library.
function(zelva_window_free_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LINKS")
  list(TRANSFORM arg_UNPARSED_ARGUMENTS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  add_library(${name} STATIC ${arg_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${arg_LINKS})
endfunction()

# Test data folders (every temporary folder of a test, the throw-away server's
# cluster) live in a RAM-backed folder where the machine has one, so that the
# tests wait on the CPU and not on the disk's syncs. Only the tests' own
# environment says so: the program itself never skips a sync.
if(NOT DEFINED ZELVA_TEST_TMPDIR)
  set(ZELVA_TEST_TMPDIR "")
  if(IS_DIRECTORY /dev/shm)
    set(ZELVA_TEST_TMPDIR /dev/shm)
  endif()
endif()
set(ZELVA_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;LANG=C.UTF-8;TZ=Asia/Kolkata")
if(ZELVA_TEST_TMPDIR)
  list(APPEND ZELVA_TEST_ENVIRONMENT "TMPDIR=${ZELVA_TEST_TMPDIR}")
endif()

# The PostgreSQL cluster the server tests of a run copy (tests/support).
set(ZELVA_TEST_CLUSTER ${CMAKE_BINARY_DIR}/tests/test-cluster)

# zelva_test_support_library(NAME FILES... LINKS links...): a part of
# tests/support, compiled once for every test executable.
function(zelva_test_support_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LINKS")
  list(TRANSFORM arg_UNPARSED_ARGUMENTS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  add_library(${name} STATIC ${arg_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PUBLIC ${arg_LINKS})
endfunction()

# zelva_tests(AREA LINKS...): one test executable per test_*.cpp in the folder,
# registered with CTest, run offscreen with a fixed locale on a temporary folder.
# The tests of a window-free folder (ZELVA_WINDOW_FREE_LAYERS) get the support
# that needs no window; the others also get the form driver.
function(zelva_tests area)
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  if(area IN_LIST ZELVA_WINDOW_FREE_LAYERS)
    set(support test_support)
  else()
    set(support test_forms)
  endif()
  foreach(test_source ${tests})
    get_filename_component(test_name ${test_source} NAME_WE)
    set(target ${area}_${test_name})
    add_executable(${target} ${test_source})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(${target} PRIVATE ${ARGN} ${support} Qt6::Test)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES ENVIRONMENT "${ZELVA_TEST_ENVIRONMENT}" TIMEOUT 600)
    set_property(GLOBAL APPEND PROPERTY ZELVA_TESTS_OF_${area} ${target})
  endforeach()
endfunction()

# zelva_tests_on_server(AREA TESTS...): the named tests of the area run a
# second time with the data on a throw-away PostgreSQL server of their own
# (tests/support/testserver.h), so that one test checks both stores. Their
# server starts as a copy of one cluster prepared once for the whole run, and
# cases that touch no stored data skip themselves there (ON_FILES_ONLY).
function(zelva_tests_on_server area)
  foreach(test_name ${ARGN})
    set(target ${area}_${test_name})
    add_test(NAME ${target}_server COMMAND ${target})
    set_tests_properties(${target}_server PROPERTIES
      ENVIRONMENT "${ZELVA_TEST_ENVIRONMENT};ZELVA_TEST_STORE=server;ZELVA_TEST_CLUSTER=${ZELVA_TEST_CLUSTER}"
      FIXTURES_REQUIRED test_cluster
      TIMEOUT 600)
  endforeach()
endfunction()
