// Two lists of DATA compared through the main window ("Porovnat se seznamem…" on the first, the
// chooser answered with the second) against vypisnik-cli compare in the same run, best of two
// each: the time until the comparison window shows its rows, the longest time without a paint
// meanwhile, and the memory the window holds. bench/compare_duplicates.sh makes DATA
// (/tmp/vyp-bench-search-compare: "Originál", its backup "Záloha" and another disc "Jiný").
#include "PaintGaps.h"
#include "WindowBench.h"

#include "ui/common/FileTable.h"
#include "ui/compare_u/ListChooser.h"
#include "ui/compare_u/TfCompare.h"

#include <QAction>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <malloc.h>

namespace vyp::bench {
namespace {

// The node of the list captioned caption, below its group's node.
NodeId ListNode(TreeGrid& tree, const QString& caption) {
    for (int group = 0; group < tree.ChildCount(kNoNode); ++group) {
        const NodeId groupNode = tree.ChildAt(kNoNode, group);
        for (int row = 0; row < tree.ChildCount(groupNode); ++row) {
            const NodeId list = tree.ChildAt(groupNode, row);
            if (tree.Model().IndexOf(list).data().toString() == caption)
                return list;
        }
    }
    return kNoNode;
}

} // namespace

int CompareBench(const BenchArguments& arguments) {
    const std::string data = arguments.At(0);
    const std::string first = arguments.At(1, "Originál"), second = arguments.At(2, "Jiný");
    const std::string cli =
        (std::filesystem::path(arguments.self).parent_path() / "../cli/vypisnik-cli").string();
    const double cliSeconds =
        BestShellSeconds(2, "'" + cli + "' --data '" + data + "' compare '" + first + "' '" +
                                second + "' > /tmp/vyp-bench-compare.out || [ $? -eq 1 ]");

    BenchWindows windows(data);
    const NodeId firstNode = ListNode(windows.Tree(), QString::fromStdString(first));
    if (firstNode == kNoNode) {
        std::fprintf(stderr, "no list \"%s\" in %s\n", first.c_str(), data.c_str());
        return 1;
    }
    windows.Tree().SelectNode(firstNode);
    auto* compare = windows.Main().findChild<QAction*>(QStringLiteral("actCompareList"));
    ListChooser::StartScript();
    ::malloc_trim(0);
    const double before = CurrentMemoryBytes();
    PaintGaps gaps;
    double longestGap = 0;
    const double windowSeconds = BestSeconds(2, [&] {
        ListChooser::QueueList(data + "/Seznamy/" + second + ".sez");
        gaps.Start();
        compare->trigger();
        QApplication::processEvents();
        gaps.Stop();
        longestGap = std::max(longestGap, gaps.LongestMs());
    });
    ::malloc_trim(0);
    auto* window = windows.Main().findChild<TfCompare*>(QStringLiteral("fCompare"));
    const size_t rows = window == nullptr ? 0 : window->Rows().RowCount();
    std::printf("vypisnik-cli compare %s %s: %.3f s\n", first.c_str(), second.c_str(), cliSeconds);
    std::printf("comparison window, %zu differences shown: %.3f s (%.2f x cli)\n", rows,
                windowSeconds, windowSeconds / cliSeconds);
    std::printf("longest time without painting: %.0f ms (target <= 100)\n", longestGap);
    std::printf("held after the comparison: %.1f MiB; peak memory %.1f MiB\n",
                (CurrentMemoryBytes() - before) / 1048576.0, PeakMemoryMiB());
    return rows > 0 ? 0 : 1;
}

} // namespace vyp::bench
