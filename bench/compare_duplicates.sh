#!/usr/bin/env bash
# Duplicates across a large catalogue and comparing two large lists, against the search and cat
# in the same run, warm cache: the twelve lists of 2,000,000 lines of bench/compare_search.sh
# (made here when missing). Wall time is the best of five, output to a file; peak memory by GNU
# time. Prints the load beside the figures.
#   bench/compare_duplicates.sh [BUILD_DIR=build] [WORK=/tmp/vyp-bench-search]
# Needs GNU time and bc (apt-get install time bc).
set -euo pipefail
. "$(dirname "$0")/lib.sh"
build=${1:-build}
work=${2:-/tmp/vyp-bench-search}
search_catalogue "$build" "$work"

echo "load: $(load)"
echo "lists: ${#files[@]}, $(du -shc "${files[@]}" | tail -1 | cut -f1)"
none_t=$(best "$cli" --data "$work" search "Nic takového")
dup_t=$(best "$cli" --data "$work" duplicates)
sets=$(tail -2 "$out" | head -1)
dup_mib=$(out=/dev/null peak_mib "$cli" --data "$work" duplicates)
echo "duplicates ($sets): search for nothing ${none_t}s, duplicates ${dup_t}s" \
    "($(ratio "$dup_t" "$none_t") x; target <= 4), peak memory $dup_mib MiB (target <= 1024)"

# Comparing: a list with a copy of itself changed here and there (a backup that differs from its
# original: every 997th file line of another size, every 4999th line gone, a folder added), and
# with a list of other names altogether (every entry differs).
pair="$work-compare"
mkdir -p "$pair/Seznamy"
ln -f "$lists/Disk 1.sez" "$pair/Seznamy/Originál.sez"
ln -f "$lists/Disk 2.sez" "$pair/Seznamy/Jiný.sez"
if [ ! -f "$pair/Seznamy/Záloha.sez" ]; then
    LC_ALL=C awk 'BEGIN { FS = OFS = "\t" }
        NR > 1 && NR % 4999 == 0 { next }
        NR > 1 && NR % 997 == 0 && index($1, "\\") == 0 { $2 = $2 + 1 }
        { print }
        END { printf "Nov\303\251 slo\305\276ka\\\t0\t2024.1.1\t9:30.0\r\n" }' \
        "$lists/Disk 1.sez" > "$pair/Seznamy/Záloha.sez"
fi
a="$pair/Seznamy/Originál.sez"
# Duplicates where most lines have copies: the original, its backup and another list (about
# 1.9 million sets), so that the finding is not only measured where it finds nothing.
many_t=$(best "$cli" --data "$pair" duplicates)
many_sets=$(tail -2 "$out" | head -1)
many_mib=$(out=/dev/null peak_mib "$cli" --data "$pair" duplicates)
echo "duplicates of Originál, Záloha and Jiný ($many_sets): ${many_t}s, peak memory $many_mib MiB"
for other in Záloha Jiný; do
    b="$pair/Seznamy/$other.sez"
    cat "$a" "$b" > /dev/null
    out=/dev/null
    cat_null=$(best cat "$a" "$b")
    out=/tmp/vyp-bench.cat
    cat_file=$(best cat "$a" "$b")
    out=/tmp/vyp-bench.out
    cmp_t=$(best "$cli" --data "$pair" compare Originál "$other")
    rows=$(($(wc -l < /tmp/vyp-bench.out) - 4))
    echo "compare Originál $other ($rows differences): cat to /dev/null ${cat_null}s," \
        "cat to a file ${cat_file}s, compare ${cmp_t}s ($(ratio "$cmp_t" "$cat_null") x and" \
        "$(ratio "$cmp_t" "$cat_file") x; target <= 2)"
done
rm -f /tmp/vyp-bench.cat
echo "load: $(load)"
