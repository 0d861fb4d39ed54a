#!/usr/bin/env bash
# The search over a large catalogue against cat and ripgrep (on one core and with its default
# threads), warm cache, same run: twelve lists of 2,000,000 lines each (about 1 GB) with names
# of many languages. Wall time is the best of five; CPU time (perf stat task-clock, which other
# work on the machine moves least) the best of five too, when perf is there.
#   bench/compare_search.sh [BUILD_DIR=build] [WORK=/tmp/vyp-bench-search]
# Needs ripgrep, GNU time and bc (apt-get install ripgrep time bc; perf from linux-perf).
set -euo pipefail
. "$(dirname "$0")/lib.sh"
build=${1:-build}
work=${2:-/tmp/vyp-bench-search}
search_catalogue "$build" "$work"

cpu() { # best of five CPU times in seconds, or "-" without perf
    if ! command -v perf > /dev/null; then
        echo "-"
        return
    fi
    local best=999
    for _ in 1 2 3 4 5; do
        local ms
        ms=$(perf stat -x, -e task-clock "$@" 2>&1 > /dev/null | grep task-clock | cut -d, -f1)
        best=$(echo "t = $ms / 1000; if (t < $best) t else $best" | bc -l)
    done
    printf "%.3f" "$best"
}

echo "lists: ${#files[@]}, $(du -shc "${files[@]}" | tail -1 | cut -f1)"
out=/dev/null
cat_t=$(best cat "${files[@]}")
out=/tmp/vyp-bench.out
none_t=$(best "$cli" --data "$work" search "Nic takového")
echo "no match: cat ${cat_t}s, vypisnik-cli ${none_t}s ($(ratio "$none_t" "$cat_t") x cat; target <= 1.5)"
for text in Rarita Sborník; do
    rg1_t=$(best rg -j1 -F -i -c "$text" "${files[@]}")
    rg_t=$(best rg -F -i -c "$text" "${files[@]}")
    search_t=$(best "$cli" --data "$work" search "$text")
    rows=$(($(wc -l < /tmp/vyp-bench.out) - 2))
    echo "\"$text\" ($rows rows), wall: rg -j1 ${rg1_t}s, rg ${rg_t}s, vypisnik-cli ${search_t}s" \
        "($(ratio "$search_t" "$rg1_t") x rg -j1, $(ratio "$search_t" "$rg_t") x rg; target <= 1 x rg)"
    rg1_c=$(cpu rg -j1 -F -i -c "$text" "${files[@]}")
    rg_c=$(cpu rg -F -i -c "$text" "${files[@]}")
    search_c=$(cpu "$cli" --data "$work" search "$text")
    echo "\"$text\", CPU: rg -j1 ${rg1_c}s, rg ${rg_c}s, vypisnik-cli ${search_c}s"
done
echo "peak memory of the search for Rarita: $(out=/dev/null peak_kb "$cli" --data "$work" search Rarita) KB"

# Every line matching: the search prints 24,000,000 rows, as text and as CSV, to a file, against
# ripgrep printing the same lines to a file; best of three, then the peak memory of each.
every() { runs=3 out=/tmp/vyp-bench.every best "$@"; }
peak() { out=/dev/null peak_mib "$@"; }
rg_all=$(every rg -F -i . "${files[@]}")
text_all=$(every "$cli" --data "$work" search .)
rows=$(($(wc -l < /tmp/vyp-bench.every) - 2))
csv_all=$(every "$cli" --data "$work" search . --csv)
rm -f /tmp/vyp-bench.every
echo "\".\" ($rows rows) to a file: rg ${rg_all}s, vypisnik-cli ${text_all}s" \
    "($(ratio "$text_all" "$rg_all") x rg; target <= 1.5), --csv ${csv_all}s" \
    "($(ratio "$csv_all" "$rg_all") x rg; target <= 2)"
echo "peak memory: rg $(peak rg -F -i . "${files[@]}") MB, vypisnik-cli $(peak "$cli" --data "$work" search .) MB," \
    "--csv $(peak "$cli" --data "$work" search . --csv) MB (target < 200 MB)"

