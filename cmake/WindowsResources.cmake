# The Windows resources of an executable: the program's icon drawn from ui/resources/vypisnik.svg
# at 16 to 256 pixels into one .ico, the manifest of packaging/windows and the version
# information of this project's version.
#   vypisnik_windows_resources(<target> FILE <file name> DESCRIPTION <text>)
find_program(VYPISNIK_RSVG_CONVERT rsvg-convert REQUIRED NO_CMAKE_FIND_ROOT_PATH)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(VYPISNIK_WINDOWS_DIR "${PROJECT_BINARY_DIR}/windows")
set(VYPISNIK_ICO "${VYPISNIK_WINDOWS_DIR}/vypisnik.ico")
set(VYPISNIK_MANIFEST "${VYPISNIK_WINDOWS_DIR}/vypisnik.manifest")
# Four numbers, as Windows shows a file's version.
set(VYPISNIK_FILE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
if(PROJECT_VERSION_PATCH)
  set(VYPISNIK_FILE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
endif()
string(REPLACE "." "," VYPISNIK_RC_VERSION "${VYPISNIK_FILE_VERSION}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/vypisnik.manifest ${VYPISNIK_MANIFEST} @ONLY)

set(_vypisnik_ico_pngs)
foreach(size 16 20 24 32 40 48 64 128 256)
  set(png "${VYPISNIK_WINDOWS_DIR}/vypisnik-${size}.png")
  add_custom_command(OUTPUT "${png}"
    COMMAND ${VYPISNIK_RSVG_CONVERT} --width=${size} --height=${size} --output=${png}
            ${PROJECT_SOURCE_DIR}/ui/resources/vypisnik.svg
    DEPENDS ${PROJECT_SOURCE_DIR}/ui/resources/vypisnik.svg VERBATIM)
  list(APPEND _vypisnik_ico_pngs "${png}")
endforeach()
add_custom_command(OUTPUT "${VYPISNIK_ICO}"
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/make_ico.py ${VYPISNIK_ICO}
          ${_vypisnik_ico_pngs}
  DEPENDS ${_vypisnik_ico_pngs} ${PROJECT_SOURCE_DIR}/tools/make_ico.py
  COMMENT "Packing the program's icon" VERBATIM)
add_custom_target(vypisnik_windows_icon DEPENDS "${VYPISNIK_ICO}")

function(vypisnik_windows_resources target)
  cmake_parse_arguments(RC "" "FILE;DESCRIPTION" "" ${ARGN})
  set(VYPISNIK_RC_FILE "${RC_FILE}")
  get_filename_component(VYPISNIK_RC_NAME "${RC_FILE}" NAME_WE)
  set(VYPISNIK_RC_DESCRIPTION "${RC_DESCRIPTION}")
  set(rc "${VYPISNIK_WINDOWS_DIR}/${target}.rc")
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in "${rc}" @ONLY)
  set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${VYPISNIK_ICO};${VYPISNIK_MANIFEST}")
  target_sources(${target} PRIVATE "${rc}")
  add_dependencies(${target} vypisnik_windows_icon)
endfunction()
