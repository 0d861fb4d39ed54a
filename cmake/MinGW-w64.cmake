# Cross-builds for 64-bit Windows with MinGW-w64 (POSIX threads); the tests run under Wine.
# scripts/windows.sh does all of it. The C++ runtime is linked as DLLs, as the Qt for MinGW-w64
# links it (scripts/windows-qt.sh builds that Qt with this same file), so the program and Qt
# share one runtime; the package puts the runtime's DLLs beside the executables.
# -DVYPISNIK_QT_MINGW=<folder> names that Qt (its qt6-mingw folder): it joins the root path, as
# the package search looks nowhere else.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VYPISNIK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VYPISNIK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VYPISNIK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VYPISNIK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VYPISNIK_MINGW_PREFIX})
if(VYPISNIK_QT_MINGW)
  list(APPEND CMAKE_FIND_ROOT_PATH ${VYPISNIK_QT_MINGW})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VYPISNIK_QT_MINGW)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian puts the 64-bit loader beside its libraries, not on PATH.
find_program(VYPISNIK_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VYPISNIK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VYPISNIK_WINE})
endif()
