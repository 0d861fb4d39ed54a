// The duplicates of every list in DATA (the twelve lists of bench/compare_duplicates.sh, say)
// found in the duplicates window and with vypisnik-cli in the same run, best of two each; the
// memory the window holds afterwards.
#include "PaintGaps.h"
#include "WindowBench.h"

#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>

namespace vyp::bench {

int DuplicatesBench(const BenchArguments& arguments) {
    const std::string data = arguments.At(0);
    const std::string cli =
        (std::filesystem::path(arguments.self).parent_path() / "../cli/vypisnik-cli").string();
    const double cliSeconds = BestShellSeconds(2, "'" + cli + "' --data '" + data +
                                                      "' duplicates > /tmp/vyp-bench-dup.out");

    BenchWindows windows(data);
    TfDuplicates& duplicates = windows.OpenDuplicates();
    auto* button = duplicates.findChild<QPushButton*>(QStringLiteral("btnFind"));
    ::malloc_trim(0);
    const double before = CurrentMemoryBytes();
    PaintGaps gaps;
    double longestGap = 0;
    const double windowSeconds = BestSeconds(2, [&] {
        gaps.Start();
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents();
        gaps.Stop();
        longestGap = std::max(longestGap, gaps.LongestMs());
    });
    ::malloc_trim(0);
    const DuplicateResult& result = duplicates.Nodes().Result();
    std::printf("vypisnik-cli duplicates: %.3f s\n", cliSeconds);
    std::printf("duplicates window, %zu sets of %zu copies shown: %.3f s (%.2f x cli; target "
                "<= 1.5)\n",
                result.sets.size(), result.copies.size(), windowSeconds,
                windowSeconds / cliSeconds);
    std::printf("longest time without painting: %.0f ms (target <= 100)\n", longestGap);
    std::printf("held after the search: %.1f MiB; peak memory %.1f MiB\n",
                (CurrentMemoryBytes() - before) / 1048576.0, PeakMemoryMiB());
    return 0;
}

} // namespace vyp::bench
