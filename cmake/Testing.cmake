# GoogleTest from Debian's sources, built for whichever target this tree builds,
# and pf_add_gtest() that registers a test executable with CTest.
enable_testing()
include(GoogleTest)

if(NOT PF_FUZZ)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# pf_add_gtest(TARGET sources... [LIBS libs...] [LABELS labels...] [RESOURCE_LOCK locks...])
# Natively every test case becomes a CTest test. Under Wine each executable is one
# CTest test, so that the emulator starts once per executable rather than per case.
function(pf_add_gtest target)
  # The fuzz tree builds only the fuzzers: no GoogleTest there.
  if(PF_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS;RESOURCE_LOCK;ENVIRONMENT" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main pf_warnings)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 150)
  endif()
  if(PF_WINDOWS)
    add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
    set_tests_properties(${target} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "wine;${ARG_LABELS}")
    if(ARG_RESOURCE_LOCK)
      set_tests_properties(${target} PROPERTIES RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
    endif()
    if(ARG_ENVIRONMENT)
      set_tests_properties(${target} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
    endif()
  else()
    gtest_discover_tests(${target} PROPERTIES LABELS "native;${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT})
  endif()
endfunction()
