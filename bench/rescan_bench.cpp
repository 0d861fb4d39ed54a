// Scans a folder tree into a list file, then rescans the list against the same tree, and prints
// both times, so the cost of reading the old list and comparing it shows as the difference,
// with the peak memory next to the size of the list file.
//
//   vyp-bench-rescan ROOT LISTFILE
#include "BenchUtil.h"
#include "platform/Native.h"
#include "scan/FolderScan.h"
#include "scan/ListRescan.h"

#include <filesystem>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vyp-bench-rescan ROOT LISTFILE\n");
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '/')
        root += '/';
    vyp::NativeDirectoryWalker walker;
    {
        vyp::ScanLines lines;
        const vyp::bench::Stopwatch watch;
        vyp::CreateList(walker, root, argv[2], vyp::ScanOptions{}, lines);
        std::printf("scan:   %.3f s\n", watch.Seconds());
    }
    vyp::ListRescan rescan(argv[2]);
    const vyp::bench::Stopwatch watch;
    if (rescan.Prepare(walker, ":") != vyp::ListRescan::Outcome::Ready) {
        std::fprintf(stderr, "the root could not be read\n");
        return 1;
    }
    const double seconds = watch.Seconds();
    const vyp::RescanSummary& summary = rescan.Summary();
    const double fileMiB = static_cast<double>(std::filesystem::file_size(argv[2])) / 1048576.0;
    std::printf("rescan: %.3f s, %zu entries, %zu changed, list %.1f MiB, peak memory %.1f MiB "
                "(limit 4 x list + 20 = %.1f MiB)\n",
                seconds, summary.oldEntries,
                summary.foldersChanged + summary.filesChanged + summary.foldersAdded +
                    summary.filesAdded + summary.Removed(),
                fileMiB, vyp::bench::PeakMemoryMiB(), 4 * fileMiB + 20);
    return 0;
}
