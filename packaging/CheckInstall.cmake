# Installs the build into a scratch folder and checks that the program, the command-line
# companion, the icon and the desktop entry arrived. Run by CTest with -DBUILD=... -DPREFIX=...
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(file bin/vypisnik bin/vypisnik-cli share/applications/vypisnik.desktop
             share/icons/hicolor/scalable/apps/vypisnik.svg
             share/icons/hicolor/16x16/apps/vypisnik.png
             share/icons/hicolor/48x48/apps/vypisnik.png
             share/icons/hicolor/256x256/apps/vypisnik.png)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
