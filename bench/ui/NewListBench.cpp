// A list of the generated tree TREE (bench/make_tree) created through the new-list window by a
// click on "Vytvoř", against the core scan writing the same list in the same run; the longest
// time the window went without being painted meanwhile.
#include "PaintGaps.h"
#include "WindowBench.h"

#include "lists/ListFile.h"
#include "scan/FolderScan.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FolderPicker.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace vyp::bench {

int NewListBench(const BenchArguments& arguments) {
    std::string root = arguments.At(0);
    if (root.back() != '/')
        root += '/';
    const std::string work = arguments.At(1, "/tmp/vyp-bench-newlist");
    const std::string data = work + "/data";
    std::filesystem::create_directories(data + "/Seznamy");
    double coreSeconds = 1e9;
    {
        NativeDirectoryWalker walker;
        for (int run = 0; run < 5; ++run) {
            ScanLines lines;
            const Stopwatch watch;
            CreateList(walker, root, work + "/core.sez",
                       ScanOptions{false, RegionalSettings::Czech().timeSeparator}, lines);
            coreSeconds = std::min(coreSeconds, watch.Seconds());
        }
    }

    BenchWindows windows(data, true);
    TfNewList& newList = windows.OpenNewList();
    FolderPicker::StartScript();
    FolderPicker::QueueFolder(QString::fromStdString(root));
    QTest::mouseClick(newList.findChild<QToolButton*>(QStringLiteral("bntVyberSlozku")),
                      Qt::LeftButton);
    QTest::keyClicks(newList.findChild<QLineEdit*>(QStringLiteral("edtNazev")),
                     QStringLiteral("Zkusebni strom"));
    auto* create = newList.findChild<QPushButton*>(QStringLiteral("btnVytvor"));
    PaintGaps gaps;
    double windowSeconds = 1e9, longestGap = 0;
    int paints = 0;
    for (int run = 0; run < 5; ++run) {
        Dialogs::QueueAnswer(QMessageBox::Yes); // replace the list of the run before
        gaps.Start();
        const Stopwatch watch;
        QTest::mouseClick(create, Qt::LeftButton);
        windowSeconds = std::min(windowSeconds, watch.Seconds());
        gaps.Stop();
        longestGap = std::max(longestGap, gaps.LongestMs());
        paints += gaps.Paints();
    }
    const std::string list = data + "/Seznamy/Zkusebni strom.sez";
    const bool same = ReadWholeFile(list) == ReadWholeFile(work + "/core.sez");
    std::printf("core scan: %.3f s\n", coreSeconds);
    std::printf("through the window: %.3f s (%.2f x core; target <= 1.2), list %s the core's\n",
                windowSeconds, windowSeconds / coreSeconds, same ? "equal to" : "DIFFERENT FROM");
    std::printf("longest time without painting: %.0f ms (target <= 100), %d paints in 5 runs\n",
                longestGap, paints);
    return same ? 0 : 1;
}

} // namespace vyp::bench
