# Library and test helpers shared by every folder.
#
# Two kinds of library:
#  - orbiscope_engine: a calculation library (numbers, file formats, models).
#    Plain C++, strict warnings, never linked with Qt: the configure step fails
#    if one reaches Qt through its links (orbiscope_check_engines, run last).
#  - orbiscope_library: the windows of a folder, globbed; any source already
#    claimed by an engine of the same tree is left out, so a folder can hold
#    its engine and its windows side by side.

option(ORBISCOPE_PCH "Precompile the Qt and GoogleTest headers of each Qt library and test binary" ON)

# The headers most window sources and tests include, parsed once per target
# rather than once per source: they are most of the compile time of a
# window or test source.  Only where the target reaches Qt (and GoogleTest).
set(ORBISCOPE_QT_PCH
  <QApplication> <QWidget> <QMainWindow> <QMdiArea> <QMdiSubWindow> <QDialog> <QImage>
  <QPainter> <QLabel> <QLineEdit> <QPushButton> <QMenu> <QAction> <QTimer> <QPointer>
  <QKeyEvent>)
set(ORBISCOPE_STD_PCH
  <string> <vector> <filesystem> <functional> <memory> <map> <fstream> <sstream>)

# _orbiscope_pch(TARGET GTEST): marks the target for precompiled headers,
# set by orbiscope_precompile_headers once every library is defined.
function(_orbiscope_pch target gtest)
  if(ORBISCOPE_PCH)
    set_property(GLOBAL APPEND PROPERTY ORBISCOPE_PCH_TARGETS ${target})
    set_property(TARGET ${target} PROPERTY ORBISCOPE_PCH_GTEST ${gtest})
  endif()
endfunction()

# Run last, when whether a target reaches Qt through its links is known.
function(orbiscope_precompile_headers)
  get_property(targets GLOBAL PROPERTY ORBISCOPE_PCH_TARGETS)
  foreach(t IN LISTS targets)
    get_target_property(gtest ${t} ORBISCOPE_PCH_GTEST)
    get_target_property(libs ${t} LINK_LIBRARIES)
    _orbiscope_reaches_qt(qt ${libs})
    _orbiscope_set_pch(${t} ${gtest} ${qt})
  endforeach()
endfunction()

function(_orbiscope_set_pch target gtest qt)
  set(headers ${ORBISCOPE_STD_PCH})
  if(gtest)
    list(APPEND headers <gtest/gtest.h>)
  endif()
  if(qt)
    list(APPEND headers ${ORBISCOPE_QT_PCH})
  endif()
  set(cxx)
  foreach(h IN LISTS headers)
    list(APPEND cxx "$<$<COMPILE_LANGUAGE:CXX>:${h}>")
  endforeach()
  target_precompile_headers(${target} PRIVATE ${cxx})
  # GCC 12 loses the system-header mark of the standard library's inlined
  # code when it comes from a precompiled header, and then reports its own
  # known false positives on std::string's inlined memcpy (bounds, overflow
  # and over-read of the short-string buffer); the sanitizer build checks
  # those for real.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE
      $<$<COMPILE_LANGUAGE:CXX>:-Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread>)
  endif()
endfunction()

# _orbiscope_reaches_qt(OUT libs...): whether any of the libraries links Qt.
function(_orbiscope_reaches_qt out)
  set(links)
  foreach(l IN LISTS ARGN)
    list(APPEND links ${l})
    if(TARGET ${l} AND NOT l MATCHES "^Qt")
      _orbiscope_links_of(${l} links)
    endif()
  endforeach()
  set(qt FALSE)
  foreach(l IN LISTS links)
    if(l MATCHES "^Qt6::")
      set(qt TRUE)
    endif()
  endforeach()
  set(${out} ${qt} PARENT_SCOPE)
endfunction()

# orbiscope_engine(NAME SOURCES files-or-globs... [LINK libs...])
# Globs are relative to the current folder and not recursive.
function(orbiscope_engine name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  set(abs)
  foreach(s IN LISTS ARG_SOURCES)
    if(s MATCHES "[*]")
      file(GLOB found CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${s}")
      list(APPEND abs ${found})
    else()
      get_filename_component(a "${s}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
      list(APPEND abs "${a}")
    endif()
  endforeach()
  add_library(${name} STATIC ${abs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  target_compile_options(${name} PRIVATE -Wshadow -Wconversion)
  set_property(GLOBAL APPEND PROPERTY ORBISCOPE_ENGINES ${name})
  # Engines of one top folder, linked by that folder's window library.
  file(RELATIVE_PATH rel "${CMAKE_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
  string(REGEX REPLACE "/.*" "" top "${rel}")
  set_property(GLOBAL APPEND PROPERTY ORBISCOPE_ENGINES_${top} ${name})
  set_property(GLOBAL APPEND PROPERTY ORBISCOPE_ENGINE_SOURCES ${abs})
endfunction()

# orbiscope_library(NAME SOURCES globs... [LINK libs...])
# One static library from the sources the globs find (recursively), minus the
# sources of engines.  A folder that has no sources yet gives an interface
# library, so that the tree builds while subsystems are still being written.
# The library also links every engine defined so far under the same top folder.
function(orbiscope_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  file(RELATIVE_PATH rel "${CMAKE_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
  string(REGEX REPLACE "/.*" "" top "${rel}")
  get_property(own_engines GLOBAL PROPERTY ORBISCOPE_ENGINES_${top})
  list(APPEND ARG_LINK ${own_engines})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${ARG_SOURCES})
  get_property(claimed GLOBAL PROPERTY ORBISCOPE_ENGINE_SOURCES)
  if(claimed AND srcs)
    list(REMOVE_ITEM srcs ${claimed})
  endif()
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
    # The windows of a folder: Qt throughout.
    list(LENGTH srcs n)
    if(n GREATER 2)
      _orbiscope_pch(${name} FALSE)
    endif()
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_LINK})
  endif()
endfunction()

# orbiscope_subdirectories(sub...): adds each subfolder that has a CMakeLists.txt.
macro(orbiscope_subdirectories)
  foreach(_sub ${ARGN})
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${_sub}/CMakeLists.txt")
      add_subdirectory(${_sub})
    endif()
  endforeach()
endmacro()

# orbiscope_test(NAME DIR [GLOB pattern] [EXCLUDE regex] [TIMEOUT seconds] [LINK libs...])
# One GoogleTest binary from the sources under DIR (recursively) that match
# GLOB (default *.cpp) and not EXCLUDE.  Tests that need a QApplication are
# named *_ui_test.cpp and go into their subsystem's window-test binary; an
# engine's test binary excludes them and runs without Qt.  A run past
# TIMEOUT (default 300 s, several times the slowest binary's run on two
# cores under the sanitizers) is a hang: it fails, named, instead of
# waiting out ctest's default of weeks.
function(orbiscope_test name dir)
  if(NOT ORBISCOPE_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "GLOB;EXCLUDE;TIMEOUT" "LINK" ${ARGN})
  if(NOT ARG_GLOB)
    set(ARG_GLOB "*.cpp")
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/${ARG_GLOB})
  if(ARG_EXCLUDE AND srcs)
    list(FILTER srcs EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gtest_main)
  # Test sources are mostly GoogleTest macros: optimising them costs the two
  # CI builds minutes and gains nothing, since the code under test is built
  # with the project's flags in its own libraries.  Line tables are all a
  # failure's stack trace needs.
  if(NOT ORBISCOPE_SANITIZE)
    target_compile_options(${name} PRIVATE -O1 -g1)
  else()
    target_compile_options(${name} PRIVATE -g1)
  endif()
  list(LENGTH srcs n)
  if(n GREATER 2)
    _orbiscope_pch(${name} TRUE)
  endif()
  # Pictures for a person to look at go to the build folder, never the sources.
  target_compile_definitions(${name} PRIVATE ORBISCOPE_PICTURES_DIR="${CMAKE_BINARY_DIR}/pictures")
  add_dependencies(${name} itu_maps)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORBISCOPE_HOME=${CMAKE_BINARY_DIR}")
endfunction()

# Fails the configure step when an engine reaches Qt through its links.
function(_orbiscope_links_of target out)
  set(seen ${${out}})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    get_target_property(libs ${target} INTERFACE_LINK_LIBRARIES)
  else()
    get_target_property(libs ${target} LINK_LIBRARIES)
  endif()
  foreach(l IN LISTS libs)
    if(l AND NOT l IN_LIST seen)
      list(APPEND seen ${l})
      if(TARGET ${l} AND NOT l MATCHES "^Qt")
        _orbiscope_links_of(${l} seen)
      endif()
    endif()
  endforeach()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(orbiscope_check_engines)
  get_property(engines GLOBAL PROPERTY ORBISCOPE_ENGINES)
  foreach(e IN LISTS engines)
    set(links)
    _orbiscope_links_of(${e} links)
    foreach(l IN LISTS links)
      if(l MATCHES "^Qt|Qt6|^orbiscope_(platform|framework)$")
        message(FATAL_ERROR "Calculation library ${e} links ${l}: engines must stay free of Qt")
      endif()
    endforeach()
  endforeach()
endfunction()
