# orbiscope_library(NAME DIR [GLOB patterns...] [LINK libs...])
# One static library from the sources found under DIR (recursively unless
# patterns are given).  A folder that has no sources yet gives an interface
# library, so that the tree builds while subsystems are still being written.
function(orbiscope_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${ARG_SOURCES})
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_LINK})
  endif()
endfunction()

# orbiscope_test(NAME DIR [LINK libs...]): one GoogleTest binary from DIR/*.cpp.
function(orbiscope_test name dir)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gtest_main)
  # Test sources are mostly GoogleTest macros: optimising them costs the two
  # CI builds minutes and gains nothing, since the code under test is built
  # with the project's flags in its own libraries.
  if(NOT ORBISCOPE_SANITIZE)
    target_compile_options(${name} PRIVATE -O1 -g1)
  endif()
  add_dependencies(${name} itu_maps)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORBISCOPE_HOME=${CMAKE_BINARY_DIR}")
endfunction()
