#!/usr/bin/env bash
# The Windows steps: cross-builds the whole program and every test for 64-bit Windows with
# MinGW-w64 against the Qt of scripts/windows-qt.sh, into build-windows/; runs every test under
# Wine (the window tests offscreen); makes the zip and the installer (the windows_package
# target); then starts the program from the unpacked zip under Wine on a private Xvfb display
# (scripts/windows-smoke.sh). Installs what is missing first. The Wine prefix lives in
# build-windows/wineprefix, so only the first run pays for setting it up. Each step prints what
# it took.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows

started=$SECONDS
took() { echo "windows: $1 took $((SECONDS - started)) s"; started=$SECONDS; }

qt="$(bash scripts/windows-qt.sh | tail -n 1)"
took "Qt for MinGW-w64"

build=build-windows
launcher=()
if command -v ccache >/dev/null; then # a rebuild after a change then takes seconds
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja "${launcher[@]}" -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-w64.cmake -DVYPISNIK_QT_MINGW="$qt" \
      -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVYPISNIK_BUILD_BENCH=OFF -DVYPISNIK_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
took "the cross build"

export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no .NET or browser engine offered for the prefix
unset DISPLAY WAYLAND_DISPLAY
# A zone with summer time, so the tests see dates in winter and summer take different offsets.
export TZ=Europe/Prague
# Qt's DLLs and the compiler's runtime, found by the tests as Windows finds DLLs: on PATH.
windows_path() { echo "Z:${1//\//\\}"; }
runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
export WINEPATH="$(windows_path "$qt/bin");$(windows_path "$runtime");$(windows_path /usr/x86_64-w64-mingw32/lib)"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
"$wine" wineboot --init >/dev/null 2>&1 || true
took "the Wine prefix"
status=0
ctest --test-dir "$build" --output-on-failure || status=$?
took "the tests under Wine"

cmake --build "$build" --target windows_package
took "the zip and the installer"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
bash scripts/windows-smoke.sh "$build/windows-package/Vypisnik-$version-win64.zip" || status=$?
took "the packaged program under Wine"
"${wine%/*}/wineserver" -w 2>/dev/null || true # the prefix is written out before the next run
exit "$status"
