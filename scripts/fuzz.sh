#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each on its seed corpus in fuzz/corpus/ for FUZZ_SECONDS seconds
# (default 10). New inputs go to build-fuzz/units/, never into the checked-in corpus. Fails on
# the first crash, hang (over 10 s for one input) or memory blow-up (over 2 GB), leaving the
# input in build-fuzz/. Give target names to run only those.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-10}"
cmake -S fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build build-fuzz -j"$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(fuzz_list_line fuzz_encoding fuzz_folder_hierarchy fuzz_folder_rows fuzz_search
             fuzz_settings fuzz_display_forms)
fi
total=0
for target in "${targets[@]}"; do
    units="build-fuzz/units/$target"
    mkdir -p "$units"
    log="build-fuzz/$target.log"
    if ! (cd build-fuzz && "./$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
              -print_final_stats=1 "units/$target" "../fuzz/corpus/$target") >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz: $target failed; the input is in build-fuzz/ (see $log)" >&2
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    total=$((total + runs))
    printf 'fuzz: %-22s %12s runs in %ss\n' "$target" "$runs" "$seconds"
done
printf 'fuzz: %-22s %12s runs\n' "all" "$total"
