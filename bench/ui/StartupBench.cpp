// The main window shown over every list in DATA/Seznamy (bench/compare_search.sh makes twelve
// lists of 2,000,000 lines), which builds the tree as at start-up, then refreshed twice;
// against `cat` of the same files, and the memory the window holds per folder node.
#include "PaintGaps.h"
#include "WindowBench.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace vyp::bench {
namespace {

double CatSeconds(const std::vector<std::string>& files) {
    std::string command = "cat";
    for (const std::string& file : files)
        command += " '" + file + "'";
    return BestShellSeconds(5, command + " > /dev/null");
}

} // namespace

int StartupBench(const BenchArguments& arguments) {
    const std::string data = arguments.At(0);
    const ListRegistry registry = ListsIn(data);
    const double catSeconds = CatSeconds(registry.ListPaths);
    const double before = CurrentMemoryBytes();
    PaintGaps gaps;
    gaps.Start();
    const Stopwatch first;
    BenchWindows windows(data);
    double buildSeconds = first.Seconds();
    QApplication::processEvents(); // the first paint of the shown window
    gaps.Stop();
    const double startGap = gaps.LongestMs();
    const double folders =
        static_cast<double>(windows.Tree().NodeCount() - 7 - registry.ListPaths.size());
    const double perNode = (CurrentMemoryBytes() - before) / folders;
    std::printf("%zu lists, %.0f folder nodes\n", registry.ListPaths.size(), folders);
    double refreshGap = 0;
    buildSeconds = std::min(buildSeconds, BestSeconds(2, [&] {
                                gaps.Start();
                                windows.Main().RefreshLists();
                                QApplication::processEvents();
                                gaps.Stop();
                                refreshGap = std::max(refreshGap, gaps.LongestMs());
                            }));
    std::printf("cat of the lists: %.3f s\n", catSeconds);
    std::printf("tree build: %.3f s (%.2f x cat; target <= 8)\n", buildSeconds,
                buildSeconds / catSeconds);
    std::printf("memory of the window with its tree: %.0f bytes per folder node (target <= 100)\n",
                perNode);
    std::printf("longest time without painting: %.0f ms at start-up, %.0f ms while refreshing "
                "(target: progress shown from 500 ms on)\n",
                startGap, refreshGap);
    return 0;
}

} // namespace vyp::bench
