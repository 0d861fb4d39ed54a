# Makes the Windows downloads from a cross build (cmake -P, run by the windows_package target):
#   <OUT>/Vypisnik-<VERSION>-win64/          the portable program, as the zip unpacks
#   <OUT>/Vypisnik-<VERSION>-win64.zip
#   <OUT>/Vypisnik-<VERSION>-win64-setup.exe the installer, when MAKENSIS is given
# PROGRAMS, LIBRARIES: files for the top folder, separated by "|", as the other lists; PLATFORMS, STYLES, IMAGEFORMATS: Qt's plugins
# for the folders Qt looks in beside the executable; TRANSLATIONS: Qt's .qm files; STRIP strips
# the programs' debugging information (it holds the build machine's paths).
cmake_policy(VERSION 3.25)
foreach(required OUT VERSION FILE_VERSION PROGRAMS LIBRARIES PLATFORMS STYLES IMAGEFORMATS
                 TRANSLATIONS ICON NSI)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "MakePackage.cmake needs -D${required}=...")
  endif()
endforeach()
foreach(list PROGRAMS LIBRARIES PLATFORMS STYLES IMAGEFORMATS TRANSLATIONS)
  string(REPLACE "|" ";" ${list} "${${list}}")
endforeach()
set(name "Vypisnik-${VERSION}-win64")
set(stage "${OUT}/${name}")
file(REMOVE_RECURSE "${stage}" "${OUT}/${name}.zip" "${OUT}/${name}-setup.exe")
file(MAKE_DIRECTORY "${stage}")

file(COPY ${PROGRAMS} ${LIBRARIES} DESTINATION "${stage}")
file(COPY ${PLATFORMS} DESTINATION "${stage}/platforms")
file(COPY ${STYLES} DESTINATION "${stage}/styles")
file(COPY ${IMAGEFORMATS} DESTINATION "${stage}/imageformats")
file(COPY ${TRANSLATIONS} DESTINATION "${stage}/translations")
if(STRIP)
  foreach(program IN LISTS PROGRAMS)
    get_filename_component(file "${program}" NAME)
    execute_process(COMMAND ${STRIP} --strip-debug "${stage}/${file}" COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endif()
# Qt takes its folders from here rather than from where it was built: the plugins beside the
# executable, the translations below it.
file(WRITE "${stage}/qt.conf" "[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n")

file(GLOB_RECURSE files RELATIVE "${stage}" "${stage}/*")
list(SORT files)
# Every file with one fixed time, so that the same build gives the same zip.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E tar cf "${OUT}/${name}.zip" --format=zip "--mtime=2000-01-01 00:00:00 UTC"
          -- ${name}
  WORKING_DIRECTORY "${OUT}" COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Made ${OUT}/${name}.zip")

if(NOT MAKENSIS)
  return()
endif()
# The installer's lists of files: what it installs, and what its uninstaller removes again.
set(nsh "!ifdef INSTALL_FILES\n")
set(folders "")
set(size 0)
foreach(file IN LISTS files)
  get_filename_component(folder "${file}" DIRECTORY)
  string(REPLACE "/" "\\" folder_win "${folder}")
  string(REPLACE "/" "\\" file_win "${file}")
  if(NOT folder STREQUAL "" AND NOT folder IN_LIST folders)
    list(APPEND folders "${folder}")
  endif()
  if(folder STREQUAL "")
    string(APPEND nsh "  SetOutPath \"$INSTDIR\"\n")
  else()
    string(APPEND nsh "  SetOutPath \"$INSTDIR\\${folder_win}\"\n")
  endif()
  string(APPEND nsh "  File \"${stage}/${file}\"\n")
  file(SIZE "${stage}/${file}" bytes)
  math(EXPR size "${size} + ${bytes}")
endforeach()
string(APPEND nsh "  SetOutPath \"$INSTDIR\"\n!endif\n!ifdef UNINSTALL_FILES\n")
foreach(file IN LISTS files)
  string(REPLACE "/" "\\" file_win "${file}")
  string(APPEND nsh "  Delete \"$INSTDIR\\${file_win}\"\n")
endforeach()
foreach(folder IN LISTS folders)
  string(REPLACE "/" "\\" folder_win "${folder}")
  string(APPEND nsh "  RMDir \"$INSTDIR\\${folder_win}\"\n")
endforeach()
string(APPEND nsh "!endif\n")
file(WRITE "${OUT}/installer-files.nsh" "${nsh}")
math(EXPR size_kb "(${size} + 1023) / 1024")
execute_process(
  COMMAND ${MAKENSIS} -V2 -DVERSION=${VERSION} -DFILE_VERSION=${FILE_VERSION} -DICON=${ICON}
          -DFILES=${OUT}/installer-files.nsh -DSIZE_KB=${size_kb}
          -DOUTFILE=${OUT}/${name}-setup.exe ${NSI}
  COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Made ${OUT}/${name}-setup.exe")
