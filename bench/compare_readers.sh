#!/usr/bin/env bash
# Reader and search benchmarks of vypisnik-cli against grep and ripgrep, warm cache, same run.
#   bench/compare_readers.sh [BUILD_DIR=build] [WORK=/tmp/vyp-bench-lists]
# Needs GNU time and bc (apt-get install time bc), ripgrep for the search comparison.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
build=${1:-build}
work=${2:-/tmp/vyp-bench-lists}
cli="$build/cli/vypisnik-cli"
one="$work/one"; many="$work/many"
if [ ! -f "$one/Seznamy/Million.sez" ]; then
    mkdir -p "$one/Seznamy" "$many/Seznamy"
    "$build/bench/vyp-make-list" "$one/Seznamy/Million.sez" 1000000 100000
    for i in $(seq 1 12); do cp "$one/Seznamy/Million.sez" "$many/Seznamy/List$i.sez"; done
fi
file="$one/Seznamy/Million.sez"
cat "$file" "$many"/Seznamy/*.sez > /dev/null

grep_t=$(best env LC_ALL=C grep -c -F '\' "$file")
tree_t=$(best "$cli" --data "$one" tree Million)
show_t=$(best "$cli" --data "$one" show Million 'Velka\Slozka\')
echo "grep -c '\\' over 1,000,000 lines: ${grep_t}s"
echo "tree: ${tree_t}s ($(ratio "$tree_t" "$grep_t") x grep; target <= 4)"
echo "show of 100,000 files: ${show_t}s ($(ratio "$show_t" "$grep_t") x grep; target <= 4)"

if command -v rg > /dev/null; then
    rg_t=$(best rg -j1 -F -i -c Velka "$many"/Seznamy/)
    search_t=$(best "$cli" --data "$many" search Velka)
    echo "search of a rare text over $(du -sh "$many/Seznamy" | cut -f1): rg -j1 ${rg_t}s, vypisnik-cli ${search_t}s ($(ratio "$search_t" "$rg_t") x rg; target <= 1)"
fi
peak=$(peak_kb "$cli" --data "$one" search .)
rows=$(($(wc -l < "$out") - 2))
size=$(stat -c %s "$file")
echo "search . : $rows rows, peak $peak KB; limit $(( (400 * rows + size) / 1024 )) KB"
