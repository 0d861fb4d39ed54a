#!/usr/bin/env bash
# Scan benchmark: our scan against find on the same generated tree, warm cache, same run.
#   bench/compare_scan.sh [BUILD_DIR=build] [TREE=/tmp/vyp-bench-tree]
set -euo pipefail
build=${1:-build}
tree=${2:-/tmp/vyp-bench-tree}
[ -d "$tree" ] || "$build/bench/vyp-make-tree" "$tree" 200000 20000
find "$tree" -printf '%P\t%s\t%T@\n' > /tmp/vyp-find.out # warm the cache
best() { sort -n | head -1; }
find_times=(); scan_lines=()
for _ in 1 2 3 4 5; do
    s=$(date +%s.%N); find "$tree" -printf '%P\t%s\t%T@\n' > /tmp/vyp-find.out; e=$(date +%s.%N)
    find_times+=("$(echo "$e - $s" | bc)")
    scan_lines+=("$("$build/bench/vyp-bench-scan" "$tree" /tmp/vyp-scan.sez)")
done
printf '%s\n' "${scan_lines[@]}"
echo "find: best $(printf '%s\n' "${find_times[@]}" | best) s"
echo "scan: best $(printf '%s\n' "${scan_lines[@]}" | sed 's/scan: \([0-9.]*\) s.*/\1/' | best) s"
