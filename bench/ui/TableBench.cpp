// The file table filled and sorted with the folder "Velka\Slozka\" of 100,000 files of
// LISTFILE (bench/make_list), against grep -c over the same file; then sorted by "Soubor" again
// through header clicks.
#include "WindowBench.h"

#include <QHeaderView>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace vyp::bench {
namespace {

double GrepSeconds(const std::string& file) {
    return BestShellSeconds(5, "LC_ALL=C grep -c -F '\\' '" + file + "' > /tmp/vyp-bench-grep.out");
}

} // namespace

int TableBench(const BenchArguments& arguments) {
    const std::string file = arguments.At(0);
    BenchWindows windows(std::filesystem::path(file).parent_path().parent_path().string());
    const double grep = GrepSeconds(file);
    const double fill = BestSeconds(3, [&] {
        windows.Main().ShowFolderContents("Velka\\Slozka\\", file);
        QApplication::processEvents();
    });
    FileTable& view = windows.View();
    std::printf("grep -c: %.3f s\n", grep);
    std::printf("fill and sort %d rows: %.3f s (target <= 3 x grep + 0.5 s = %.3f s)\n",
                view.ChildCount(kNoNode), fill, 3 * grep + 0.5);
    QHeaderView* header = view.header();
    auto click = [&](int column) {
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, Qt::NoModifier,
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    click(1); // by size
    const Stopwatch resort;
    click(0); // "Soubor" again: the collation keys of the fill are reused
    QApplication::processEvents();
    std::printf("sorting by \"Soubor\" again: %.3f s (target < 0.5 s)\n", resort.Seconds());
    return 0;
}

} // namespace vyp::bench
