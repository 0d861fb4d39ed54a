# Cross-builds the core and its tests for 64-bit Windows with MinGW-w64 (POSIX threads) and runs
# them under Wine: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-w64.cmake -DVYPISNIK_BUILD_UI=OFF
# (scripts/windows.sh does all of it). The runtime is linked statically, so the executables run
# without DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VYPISNIK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VYPISNIK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VYPISNIK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VYPISNIK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VYPISNIK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian puts the 64-bit loader beside its libraries, not on PATH.
find_program(VYPISNIK_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VYPISNIK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VYPISNIK_WINE})
endif()
