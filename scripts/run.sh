#!/usr/bin/env bash
# Builds Vypisnik and starts the desktop program. Its data folder ("Seznamy" and
# "settings.ini") is the folder of the built executable, build/ui/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVYPISNIK_WERROR=ON
cmake --build build -j"$(nproc)" --target vypisnik vypisnik-cli
exec build/ui/vypisnik
