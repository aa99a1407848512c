# cmake -DBUILD_DIR=DIR -P scripts/check_test_timeouts.cmake
# Fails naming every test entry of the build that has no TIMEOUT of its own:
# a hung test must fail, named, within its bound, rather than hold the run
# for ctest's default of weeks.  Read from ctest's own list of what it would
# run, so that an entry added by any means (orbiscope_test, a bare add_test)
# is seen.
if(NOT BUILD_DIR)
  message(FATAL_ERROR "usage: cmake -DBUILD_DIR=DIR -P ${CMAKE_CURRENT_LIST_FILE}")
endif()
execute_process(COMMAND "${CMAKE_CTEST_COMMAND}" --test-dir "${BUILD_DIR}" --show-only=json-v1
                OUTPUT_VARIABLE json ERROR_VARIABLE error RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "ctest could not list the tests of ${BUILD_DIR} (a configured build folder?) ${error}${json}")
endif()
string(JSON count ERROR_VARIABLE error LENGTH "${json}" tests)
if(error OR count EQUAL 0)
  message(FATAL_ERROR "No test entries in ${BUILD_DIR}: is it configured with the tests? ${error}")
endif()

set(untimed)
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  string(JSON name GET "${json}" tests ${i} name)
  set(timeout 0)
  string(JSON properties ERROR_VARIABLE error GET "${json}" tests ${i} properties)
  if(NOT error)
    string(JSON n LENGTH "${properties}")
    if(n GREATER 0)
      math(EXPR n "${n} - 1")
      foreach(k RANGE ${n})
        string(JSON property GET "${properties}" ${k} name)
        if(property STREQUAL "TIMEOUT")
          string(JSON timeout GET "${properties}" ${k} value)
        endif()
      endforeach()
    endif()
  endif()
  # A timeout of 0 is ctest's "none".
  if(NOT timeout GREATER 0)
    list(APPEND untimed "${name}")
  endif()
endforeach()

if(untimed)
  list(JOIN untimed "\n  " names)
  message(FATAL_ERROR "Test entries without a TIMEOUT property (a hang would hold the run, unnamed):\n  ${names}\n"
                      "Give each one: set_tests_properties(NAME PROPERTIES TIMEOUT SECONDS).")
endif()
message(STATUS "Every one of the ${count} test entries of ${BUILD_DIR} has a timeout")
