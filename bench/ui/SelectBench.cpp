// Selecting the folder "Velka\Slozka\" (1,000 files in the lists of bench/compare_search.sh) in
// the first list of DATA, against selecting it in a list that holds only that folder.
#include "WindowBench.h"

#include "lists/ListFile.h"
#include "util/SafeFileWriter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace vyp::bench {
namespace {

// Selects the folder node captioned caption under the first list of the last group.
double SelectSeconds(const std::string& data, const QString& caption) {
    BenchWindows windows(data);
    TreeGrid& tree = windows.Tree();
    const NodeId group = tree.ChildAt(kNoNode, 6);
    const NodeId list = tree.ChildAt(group, 0);
    NodeId folder = kNoNode;
    for (int i = 0; i < tree.ChildCount(list) && folder == kNoNode; ++i) {
        const NodeId child = tree.ChildAt(list, i);
        if (tree.Model().data(tree.Model().IndexOf(child), Qt::DisplayRole).toString() == caption)
            folder = child;
    }
    if (folder == kNoNode) {
        std::fprintf(stderr, "no folder %s\n", caption.toUtf8().constData());
        return 0;
    }
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        tree.SelectNode(list);
        QApplication::processEvents();
        const Stopwatch watch;
        tree.SelectNode(folder);
        QApplication::processEvents();
        best = std::min(best, watch.Seconds());
    }
    return best;
}

} // namespace

int SelectBench(const BenchArguments& arguments) {
    const std::string data = arguments.At(0);
    const ListRegistry registry = ListsIn(data);
    if (registry.ListPaths.empty())
        return 1;
    // The same folder in a list that holds nothing else.
    const std::string small = "/tmp/vyp-bench-select";
    std::filesystem::create_directories(small + "/Seznamy");
    const std::string whole = ReadWholeFile(registry.ListPaths[0]);
    std::string bytes = whole.substr(0, whole.find("\r\n") + 2);
    bool inside = false;
    for (std::string_view line : SplitLines(whole)) {
        if (line.find('\\') != std::string_view::npos)
            inside = line.starts_with("Velka\\Slozka\\\t");
        if (inside)
            bytes.append(line).append("\r\n");
    }
    WriteFileSafely(small + "/Seznamy/Jen slozka.sez", bytes);
    const double big = SelectSeconds(data, QStringLiteral("Slozka"));
    const double alone = SelectSeconds(small, QStringLiteral("Slozka"));
    std::printf("selecting Velka\\Slozka\\ in a list of %zu bytes: %.1f ms\n", whole.size(),
                big * 1000);
    std::printf("the same folder in a list that holds only it: %.1f ms (%.2f x; target <= 2)\n",
                alone * 1000, big / alone);
    return 0;
}

} // namespace vyp::bench
