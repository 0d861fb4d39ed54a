// Looks for duplicates across every list of a data folder through the core alone, best of three,
// and prints the time, what was found and the peak memory; with the command line beside it in
// bench/compare_duplicates.sh this shows what reading, folding and grouping cost apart from
// printing.
//
//   vyp-bench-duplicates DATA_FOLDER [MIN_SIZE=1]
#include "BenchUtil.h"
#include "lists/DataFolder.h"
#include "lists/ListFile.h"
#include "lists/ListRegistry.h"
#include "platform/Native.h"
#include "search/DuplicateSearch.h"

#include <atomic>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vyp-bench-duplicates DATA_FOLDER [MIN_SIZE]\n");
        return 2;
    }
    const vyp::DataFolder data(argv[1]);
    vyp::ListRegistry registry;
    vyp::NativeDirectoryWalker walker;
    vyp::FindLists(registry, data.ListFolder(), vyp::kListPattern, data.SettingsPath(), walker);
    vyp::DuplicateQuery query;
    if (argc > 2)
        query.minSize = std::atoll(argv[2]);
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        std::atomic<uint64_t> lines{0};
        const vyp::bench::Stopwatch watch;
        const vyp::DuplicateResult result = vyp::FindDuplicates(registry, query, {}, &lines);
        const double seconds = watch.Seconds();
        best = std::min(best, seconds);
        std::printf("%.3f s: %zu lists, %llu lines, %zu sets, %zu copies, %lld bytes wasted, "
                    "%zu errors\n",
                    seconds, registry.ListPaths.size(),
                    static_cast<unsigned long long>(lines.load()), result.sets.size(),
                    result.copies.size(), static_cast<long long>(result.wasted),
                    result.errors.size());
    }
    std::printf("best %.3f s, peak memory %.1f MiB\n", best, vyp::bench::PeakMemoryMiB());
    return 0;
}
