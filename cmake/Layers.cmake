# Keeps the layers apart: a library of one layer may include its own folder and the folders of
# the layers beneath it, nothing above. vypisnik_layer() checks every source and header of the
# target whenever one of them changes, and the build stops at an include the wrong way.
set(VYPISNIK_LAYER_CHECK ${CMAKE_CURRENT_LIST_DIR}/CheckLayerIncludes.cmake)

function(vypisnik_layer target)
  cmake_parse_arguments(LAYER "" "" "MAY_INCLUDE" ${ARGN})
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(files)
  foreach(source IN LISTS sources)
    if(NOT IS_ABSOLUTE "${source}")
      set(source "${source_dir}/${source}")
    endif()
    list(APPEND files "${source}")
  endforeach()
  set(stamp "${CMAKE_CURRENT_BINARY_DIR}/${target}.layer-checked")
  add_custom_command(
    OUTPUT "${stamp}"
    COMMAND ${CMAKE_COMMAND} "-DFILES=${files}" "-DMAY_INCLUDE=${LAYER_MAY_INCLUDE}"
            "-DTARGET=${target}" "-DSTAMP=${stamp}"
            -P "${VYPISNIK_LAYER_CHECK}"
    DEPENDS ${files} "${VYPISNIK_LAYER_CHECK}"
    COMMENT "Checking the includes of ${target}"
    VERBATIM)
  add_custom_target(${target}_layer DEPENDS "${stamp}")
  add_dependencies(${target} ${target}_layer)
endfunction()
