# The shipped town and satellite databases: one country file per country and
# "satlist.geo", made at build time in the program directory from the public
# place lists of the shared data folder (nothing is copied into the sources).
set(ORBISCOPE_PLACES "${CMAKE_SOURCE_DIR}/../shared/data/places"
    CACHE PATH "Folder holding the place lists (countries.csv, towns/, satellites.csv)")

if(EXISTS "${ORBISCOPE_PLACES}/countries.csv" AND EXISTS "${ORBISCOPE_PLACES}/satellites.csv")
  add_executable(make_place_files ${CMAKE_CURRENT_LIST_DIR}/tools/make_place_files.cc)
  target_link_libraries(make_place_files PRIVATE orbiscope_framework_engine)
  set_target_properties(make_place_files PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

  file(GLOB _orbiscope_town_lists CONFIGURE_DEPENDS "${ORBISCOPE_PLACES}/towns/*.csv")
  set(_stamp "${CMAKE_BINARY_DIR}/tools/place_files.stamp")
  add_custom_command(OUTPUT "${_stamp}"
    COMMAND make_place_files "${ORBISCOPE_PLACES}" "${CMAKE_BINARY_DIR}"
    COMMAND ${CMAKE_COMMAND} -E touch "${_stamp}"
    DEPENDS make_place_files ${_orbiscope_town_lists} "${ORBISCOPE_PLACES}/countries.csv"
            "${ORBISCOPE_PLACES}/satellites.csv" "${ORBISCOPE_PLACES}/ATTRIBUTION.md"
    COMMENT "Making the country files and satlist.geo" VERBATIM)
  add_custom_target(place_files ALL DEPENDS "${_stamp}")
else()
  message(WARNING "Place lists not found in ${ORBISCOPE_PLACES}: no country files or satlist.geo are made")
endif()
