// Scans a folder tree into a list file and prints the time, entries per second and the peak
// memory next to the size of the list file written.
//
//   vyp-bench-scan ROOT LISTFILE [THREADS]   (THREADS 0 or left out: one per core)
#include "BenchUtil.h"
#include "lists/ListFile.h"
#include "platform/Native.h"
#include "scan/FolderScan.h"

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vyp-bench-scan ROOT LISTFILE [THREADS]\n");
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '/')
        root += '/';
    vyp::ScanOptions options;
    if (argc > 3)
        options.threads = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10));
    vyp::NativeDirectoryWalker walker;
    vyp::ScanLines lines;
    const vyp::bench::Stopwatch watch;
    vyp::CreateList(walker, root, argv[2], options, lines);
    const double seconds = watch.Seconds();
    const double peak = vyp::bench::PeakMemoryMiB(); // before the list is read back to count it
    size_t entries = 0;
    for (std::string_view line : vyp::SplitLines(vyp::ReadWholeFile(argv[2])))
        entries += line.empty() ? 0 : 1;
    const double fileMiB = static_cast<double>(std::filesystem::file_size(argv[2])) / 1048576.0;
    std::printf("scan: %.3f s, %zu entries, %.0f entries/s, list %.1f MiB, peak memory %.1f MiB "
                "(limit 3 x list + 20 = %.1f MiB)\n",
                seconds, entries - 1, static_cast<double>(entries - 1) / seconds, fileMiB, peak,
                3 * fileMiB + 20);
    return 0;
}
