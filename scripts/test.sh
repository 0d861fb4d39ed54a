#!/usr/bin/env bash
# Builds Vypisnik and runs every test (core, command-line companion, windows offscreen).
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
