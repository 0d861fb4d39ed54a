#!/usr/bin/env bash
# Builds Vypisnik and runs every test (core, command-line companion, windows offscreen); then,
# unless VYPISNIK_SKIP_SLOW=1 on a developer's machine, the whole suite once more under
# AddressSanitizer and UndefinedBehaviorSanitizer (scripts/sanitize.sh), every fuzz target
# for a short time on its corpus (scripts/fuzz.sh), and the Windows steps (scripts/windows.sh:
# the whole program and its tests cross-built and run under Wine, the zip and the installer, the
# packaged program started under Wine). CI (CI=true) always runs all of it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVYPISNIK_WERROR=ON
cmake --build build -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"
# A user's build: Release (-O3) with the default options must compile. Only the desktop program
# is built (the core, the windows and main): one to three minutes on two cores.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVYPISNIK_BUILD_TESTS=OFF \
    -DVYPISNIK_BUILD_BENCH=OFF
cmake --build build-release -j"$(nproc)" --target vypisnik

if [ "${CI:-}" != "true" ] && [ "${VYPISNIK_SKIP_SLOW:-0}" = "1" ]; then
    echo "VYPISNIK_SKIP_SLOW=1: sanitizer run, fuzz smoke and Windows build skipped"
    exit 0
fi
bash scripts/sanitize.sh
bash scripts/fuzz.sh
bash scripts/windows.sh
