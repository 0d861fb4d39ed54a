# The program's pictures are drawn from their SVGs at build time with rsvg-convert, so the
# program needs no SVG support at run time on any system. Each picture is drawn at the size it is
# shown at and at the device-pixel ratios of high-density screens:
#   vypisnik_draw_pictures(<target> <resource name> SOURCE_DIR <folder of the SVGs>
#                          RATIOS 1 1.5 2 PICTURES <name>:<size> ...)
# draws <name>.svg into "<name>-<size>.png" (ratio 1), "<name>-<size>@1.5x.png" and so on (the
# size times the ratio, rounded), and puts them into the resources of <target> under
# ":/vypisnik/pictures/".
find_program(VYPISNIK_RSVG_CONVERT rsvg-convert REQUIRED NO_CMAKE_FIND_ROOT_PATH)

function(vypisnik_draw_pictures target resource)
  cmake_parse_arguments(DRAW "" "SOURCE_DIR" "RATIOS;PICTURES" ${ARGN})
  set(out_dir "${CMAKE_CURRENT_BINARY_DIR}/pictures")
  file(MAKE_DIRECTORY "${out_dir}")
  set(pngs)
  foreach(picture IN LISTS DRAW_PICTURES)
    string(REPLACE ":" ";" parts "${picture}")
    list(GET parts 0 name)
    list(GET parts 1 size)
    foreach(ratio IN LISTS DRAW_RATIOS)
      # CMake counts in integers: the ratio in tenths (one decimal place is enough).
      if(NOT ratio MATCHES "^([0-9]+)(\\.([0-9]))?$")
        message(FATAL_ERROR "a ratio with at most one decimal place: ${ratio}")
      endif()
      set(tenth "${CMAKE_MATCH_3}")
      if(tenth STREQUAL "")
        set(tenth 0)
      endif()
      math(EXPR pixels "(${size} * (${CMAKE_MATCH_1} * 10 + ${tenth}) + 5) / 10")
      if(ratio STREQUAL "1")
        set(file "${name}-${size}.png")
      else()
        set(file "${name}-${size}@${ratio}x.png")
      endif()
      add_custom_command(
        OUTPUT "${out_dir}/${file}"
        COMMAND ${VYPISNIK_RSVG_CONVERT} --width=${pixels} --height=${pixels}
                --output=${out_dir}/${file} ${DRAW_SOURCE_DIR}/${name}.svg
        DEPENDS "${DRAW_SOURCE_DIR}/${name}.svg"
        COMMENT "Drawing ${file}"
        VERBATIM)
      list(APPEND pngs "${out_dir}/${file}")
    endforeach()
  endforeach()
  qt_add_resources(${target} ${resource} PREFIX /vypisnik/pictures BASE "${out_dir}"
                   FILES ${pngs})
endfunction()
