#!/usr/bin/env bash
# Cross-builds the core and its tests for 64-bit Windows with MinGW-w64 into build-windows/ and
# runs core_tests.exe under Wine. Installs what is missing first (the cross compiler, Wine,
# GoogleTest's sources). The Wine prefix lives in build-windows/wineprefix, so only the first run
# pays for setting it up; no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows

build=build-windows
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVYPISNIK_BUILD_UI=OFF -DVYPISNIK_BUILD_BENCH=OFF -DVYPISNIK_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target core_tests

export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no .NET or browser engine offered for the prefix
unset DISPLAY WAYLAND_DISPLAY
# A zone with summer time, so the tests see dates in winter and summer take different offsets.
export TZ=Europe/Prague
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
status=0
"$wine" "$build/tests/core_tests.exe" --gtest_brief=1 || status=$?
"${wine%/*}/wineserver" -w 2>/dev/null || true # the prefix is written out before the next run
exit "$status"
