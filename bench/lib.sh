# What the compare_*.sh benchmarks measure alike; sourced by them, not run on its own.
#   best CMD...       best of $runs (5) wall-clock runs of CMD, in seconds, its output to $out
#   ratio A B         A / B to two places
#   peak_kb CMD...    peak resident memory of one run of CMD in KB (GNU time), output to $out
#   peak_mib CMD...   the same in MiB
#   load              the machine's load, to print beside the figures
#   search_catalogue BUILD_DIR WORK   the twelve lists of 2,000,000 lines with names of many
#                     languages (about 1 GB) in WORK/Seznamy, made when missing and read once into
#                     the cache; sets cli, lists and files (the lists' paths)
# Needs GNU time and bc (apt-get install time bc).

out=${out:-/tmp/vyp-bench.out}

best() {
    local best=999
    for _ in $(seq 1 "${runs:-5}"); do
        local s e t
        s=$(date +%s.%N); "$@" > "$out" 2>/dev/null || true; e=$(date +%s.%N)
        t=$(echo "$e - $s" | bc)
        best=$(echo "if ($t < $best) $t else $best" | bc)
    done
    echo "$best"
}

ratio() { echo "scale=2; $1 / $2" | bc; }

peak_kb() {
    /usr/bin/time -f "%M" -o /tmp/vyp-bench.mem "$@" > "$out" 2>/dev/null || true
    tail -1 /tmp/vyp-bench.mem # after "Command exited with non-zero status", if it did
}

peak_mib() { echo "$(($(peak_kb "$@") / 1024))"; }

load() { cut -d' ' -f1-3 /proc/loadavg; }

search_catalogue() {
    cli="$1/cli/vypisnik-cli"
    lists="$2/Seznamy"
    if [ ! -f "$lists/Disk 12.sez" ]; then
        mkdir -p "$lists"
        for i in $(seq 1 12); do "$1/bench/vyp-make-list" "$lists/Disk $i.sez" 2000000 1000 "$i"; done
    fi
    files=("$lists"/*.sez)
    cat "${files[@]}" > /dev/null
}
