# Builds the core libraries in a build of their own with Qt out of reach: the core needs no Qt,
# and its targets build without the windows. Run by CTest as core_builds_without_qt.
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BINARY_DIR} -DVYPISNIK_BUILD_UI=OFF
          -DVYPISNIK_BUILD_TESTS=OFF -DVYPISNIK_BUILD_BENCH=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
          -DVYPISNIK_WERROR=ON
  RESULT_VARIABLE configured)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring the core alone failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY_DIR} -j2 --target vypisnik_scan
                        vypisnik_search RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "building the core alone failed")
endif()
