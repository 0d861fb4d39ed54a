# One interface target carries the warning flags, warnings-as-errors and the optional
# sanitizers; every target of ours links it. Warnings are errors in development and CI
# (scripts/test.sh and scripts/run.sh turn them on), never in a user's build: another compiler
# or optimisation level may warn where nothing is wrong.
option(VYPISNIK_WERROR "Treat warnings in our own code as errors" OFF)
option(ENABLE_ASAN "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_library(vypisnik_warnings INTERFACE)
target_compile_options(vypisnik_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                                                   -Wnon-virtual-dtor -Wold-style-cast)
if(VYPISNIK_WERROR)
  target_compile_options(vypisnik_warnings INTERFACE -Werror)
endif()
# GCC 12 sees overlapping copies in std::string's own code once it is inlined with optimisation
# (in tests that build strings with + or assign literals), where nothing overlaps; GCC 13 no
# longer does.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(vypisnik_warnings INTERFACE -Wno-restrict)
endif()
if(ENABLE_ASAN)
  target_compile_options(vypisnik_warnings INTERFACE -fsanitize=address,undefined
                                                     -fno-omit-frame-pointer)
  target_link_options(vypisnik_warnings INTERFACE -fsanitize=address,undefined)
endif()
