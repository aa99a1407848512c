# Lays the thirty ITU-R data map files into the program directory (the build
# output folder).  The maps are never part of the source tree: they come from
# ORBISCOPE_ITU_DATA, either xz-compressed (NAME.TXT.xz) or plain (NAME.TXT).
set(ORBISCOPE_ITU_DATA "${CMAKE_SOURCE_DIR}/../shared/data/itu/maps"
    CACHE PATH "Folder holding the ITU-R data map files (compressed or not)")

set(ORBISCOPE_ITU_MAP_NAMES
  TOPO R001 L_5 L_10 L_20 L_30 L_50
  P_mean P_5 P_10 P_20 P_30 P_50
  T_mean T_5 T_10 T_20 T_30 T_50
  V_5 V_10 V_20 V_30 V_50
  RHO_mean RHO_5 RHO_10 RHO_20 RHO_30 RHO_50)

set(_itu_outputs)
foreach(name IN LISTS ORBISCOPE_ITU_MAP_NAMES)
  set(out "${CMAKE_BINARY_DIR}/${name}.TXT")
  if(EXISTS "${ORBISCOPE_ITU_DATA}/${name}.TXT.xz")
    find_program(XZ_EXECUTABLE xz REQUIRED)
    add_custom_command(OUTPUT "${out}"
      COMMAND ${XZ_EXECUTABLE} -dc "${ORBISCOPE_ITU_DATA}/${name}.TXT.xz" > "${out}.part"
      COMMAND ${CMAKE_COMMAND} -E rename "${out}.part" "${out}"
      DEPENDS "${ORBISCOPE_ITU_DATA}/${name}.TXT.xz"
      COMMENT "Unpacking ITU-R map ${name}.TXT" VERBATIM)
    list(APPEND _itu_outputs "${out}")
  elseif(EXISTS "${ORBISCOPE_ITU_DATA}/${name}.TXT")
    add_custom_command(OUTPUT "${out}"
      COMMAND ${CMAKE_COMMAND} -E copy "${ORBISCOPE_ITU_DATA}/${name}.TXT" "${out}"
      DEPENDS "${ORBISCOPE_ITU_DATA}/${name}.TXT"
      COMMENT "Copying ITU-R map ${name}.TXT" VERBATIM)
    list(APPEND _itu_outputs "${out}")
  else()
    message(WARNING "ITU-R map ${name}.TXT not found in ${ORBISCOPE_ITU_DATA}; "
                    "the program will report it missing at start-up")
  endif()
endforeach()
add_custom_target(itu_maps ALL DEPENDS ${_itu_outputs})
