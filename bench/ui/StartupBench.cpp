// The main window shown over every list in DATA/Seznamy (bench/compare_search.sh makes twelve
// lists of 2,000,000 lines), which builds the tree as at start-up, then refreshed twice;
// against `cat` of the same files, and the memory the window holds per folder node.
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
    const Stopwatch first;
    BenchWindows windows(data);
    double buildSeconds = first.Seconds();
    const double folders =
        static_cast<double>(windows.Tree().NodeCount() - 7 - registry.ListPaths.size());
    const double perNode = (CurrentMemoryBytes() - before) / folders;
    std::printf("%zu lists, %.0f folder nodes\n", registry.ListPaths.size(), folders);
    buildSeconds =
        std::min(buildSeconds, BestSeconds(2, [&windows] { windows.Main().RefreshLists(); }));
    std::printf("cat of the lists: %.3f s\n", catSeconds);
    std::printf("tree build: %.3f s (%.2f x cat; target <= 8)\n", buildSeconds,
                buildSeconds / catSeconds);
    std::printf("memory of the window with its tree: %.0f bytes per folder node (target <= 100)\n",
                perNode);
    return 0;
}

} // namespace vyp::bench
