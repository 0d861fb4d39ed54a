#!/usr/bin/env bash
# Scan benchmark: our scan on every core and on one thread against find on the same generated
# tree, warm cache, same run; the two lists must be the same bytes.
#   bench/compare_scan.sh [BUILD_DIR=build] [TREE=/tmp/vyp-bench-names-tree]
set -euo pipefail
build=${1:-build}
tree=${2:-/tmp/vyp-bench-names-tree}
[ -d "$tree" ] || "$build/bench/vyp-make-tree" "$tree" 200000 20000
find "$tree" -printf '%P\t%s\t%T@\n' > /tmp/vyp-find.out # warm the cache
best() { sort -n | head -1; }
find_times=(); scan_lines=(); one_lines=()
for _ in 1 2 3 4 5; do
    s=$(date +%s.%N); find "$tree" -printf '%P\t%s\t%T@\n' > /tmp/vyp-find.out; e=$(date +%s.%N)
    find_times+=("$(echo "$e - $s" | bc)")
    scan_lines+=("$("$build/bench/vyp-bench-scan" "$tree" /tmp/vyp-scan.sez)")
    one_lines+=("$("$build/bench/vyp-bench-scan" "$tree" /tmp/vyp-scan-one.sez 1)")
done
cmp -s /tmp/vyp-scan.sez /tmp/vyp-scan-one.sez || { echo "the lists of one and all cores differ"; exit 1; }
printf '%s\n' "${scan_lines[@]}"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
find_best=$(printf '%s\n' "${find_times[@]}" | best)
scan_best=$(printf '%s\n' "${scan_lines[@]}" | sed 's/scan: \([0-9.]*\) s.*/\1/' | best)
one_best=$(printf '%s\n' "${one_lines[@]}" | sed 's/scan: \([0-9.]*\) s.*/\1/' | best)
echo "find: best $find_best s"
echo "scan on one thread: best $one_best s, $(ratio "$one_best" "$find_best") x find"
echo "scan on $(nproc) cores: best $scan_best s, $(ratio "$scan_best" "$find_best") x find (target 0.6)"
