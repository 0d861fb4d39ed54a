// A list of LINES lines with accented names, written once under WORK, searched for ".", which
// every line holds, in the search window and with vypisnik-cli in the same run; the memory the
// window holds per row and at its peak, the sorts by "Soubor / složka" with the longest stretch
// without a paint during each, and a repaint while scrolling.
#include "PaintGaps.h"
#include "WindowBench.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>

namespace vyp::bench {
namespace {

// A list of lines lines under a root holding ".", so that "." is in every line: folders of up to
// 40 files.
std::string MakeSearchList(const std::string& work, long lines) {
    const std::string data = work + "/accented" + std::to_string(lines);
    const std::string file = data + "/Seznamy/Archiv.sez";
    if (std::filesystem::exists(file))
        return data;
    std::filesystem::create_directories(data + "/Seznamy");
    // Mostly the accented Latin of Czech, German and French disks, some Cyrillic and Japanese.
    const char* const names[] = {
        "Žluťoučký kůň", "Größenverhältnis", "Été à Lyon", "Přednáška", "Straße",
        "Noël",          "Dovolená Šumava",  "Čeřovka",    "Fußball",   "Crème brûlée",
        "Účetnictví",    "Ölmühle",          "Москва",     "東京の写真"};
    const char* const extensions[] = {"jpg", "mp3", "txt", "avi", "doc", "flac", "zip"};
    DeterministicRandom random(20261208);
    std::ofstream out(file, std::ios::binary);
    out << "E:\\Archiv.2024\\\t123456789012\r\n";
    for (long written = 1, folder = 0; written < lines; ++folder) {
        out << "Složka " << folder / 40 << "\\" << names[folder % 14] << " " << folder << "\\\t"
            << random.Next() % 4000000000ULL << "\t2004.1.15\t9:30.0\r\n";
        ++written;
        const long files = static_cast<long>(1 + random.Next() % 40);
        for (long i = 0; i < files && written < lines; ++i, ++written)
            out << names[random.Next() % 14] << " " << written << "." << extensions[i % 7] << "\t"
                << random.Next() % 5000000 << "\t" << 1995 + random.Next() % 30 << "."
                << 1 + random.Next() % 12 << "." << 1 + random.Next() % 28 << "\t"
                << random.Next() % 24 << ":" << random.Next() % 60 << "."
                << 2 * (random.Next() % 30) << "\r\n";
    }
    return data;
}

// Sorts by clicking a header section, and says how long it took and how long nothing painted.
void TimeSort(QHeaderView* header, int column, const char* what, const char* target) {
    PaintGaps paints;
    paints.Start();
    const Stopwatch sort;
    const double cpuBefore = ProcessCpuSeconds();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    QApplication::processEvents();
    const double seconds = sort.Seconds();
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    paints.Stop();
    std::printf("%s: %.3f s (%s), CPU %.3f s, longest without a paint %.0f ms (target <= 100); "
                "the process's peak so far %.1f MiB\n",
                what, seconds, target, cpu, paints.LongestMs(), PeakMemoryMiB());
}

// The first sort by path of the rows found, ranking the paths; later sorts only compare.
void MeasureSorts(QHeaderView* header) {
    TimeSort(header, 1, "first sort by \"Soubor / složka\"", "target <= 5 s at 24 M rows");
    TimeSort(header, 1, "sorting by it again (descending)", "target <= 2 s at 24 M rows");
    TimeSort(header, 2, "sorting by \"Velikost\" (every row read)", "no target");
    TimeSort(header, 1, "and by \"Soubor / složka\" again", "target <= 2 s at 24 M rows");
}

} // namespace

int SearchBench(const BenchArguments& arguments) {
    const long lines = arguments.words.empty() ? 1000000 : std::atol(arguments.At(0).c_str());
    const std::string data = MakeSearchList(arguments.At(1, "/tmp/vyp-bench-find"), lines);
    const std::string cli =
        (std::filesystem::path(arguments.self).parent_path() / "../cli/vypisnik-cli").string();
    // Tens of millions of rows take a minute a run: one run of each side then.
    const int runs = lines > 5000000 ? 1 : 3;
    const double cliSeconds = BestShellSeconds(
        runs, "'" + cli + "' --data '" + data + "' search . --groups 8 > /tmp/vyp-bench-find.out");

    BenchWindows windows(data);
    TfFind& find = windows.OpenSearch();
    find.findChild<QCheckBox*>(QStringLiteral("CheckBox7"))->setChecked(true);
    find.findChild<QLineEdit*>(QStringLiteral("edtFind"))->setText(QStringLiteral("."));
    auto* button = find.findChild<QToolButton*>(QStringLiteral("btnFind"));
    auto* table = find.findChild<FileTable*>(QStringLiteral("VSTFind"));
    QApplication::processEvents();
    ::malloc_trim(0);
    const double before = CurrentMemoryBytes();
    const double peakBefore = PeakMemoryMiB();
    // Found and shown: the click runs the search, the table is painted with its first rows.
    const auto search = [button, table] {
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents();
        table->repaint();
    };
    double searchSeconds = BestSeconds(1, search);
    const double peakSearch = PeakMemoryMiB(); // of one search, before any other
    if (runs > 1)
        searchSeconds = std::min(searchSeconds, BestSeconds(runs - 1, search));
    ::malloc_trim(0);
    const size_t rows = table->NodeCount();
    const double textBytes = 0; // the rows are read back from the list files when shown
    const double heldBytes = CurrentMemoryBytes() - before;
    std::printf("vypisnik-cli search . : %.3f s\n", cliSeconds);
    std::printf("search window, %zu rows found and shown: %.3f s (%.2f x cli; target <= 1.5)\n",
                rows, searchSeconds, searchSeconds / cliSeconds);
    std::printf("held after the search: %.1f MiB, of which texts %.1f MiB: %.1f bytes per row "
                "beyond the texts (target <= 40)\n",
                heldBytes / 1048576.0, textBytes / 1048576.0,
                (heldBytes - textBytes) / static_cast<double>(rows));
    const double startMiB = before / 1048576.0;
    std::printf("peak during the search: %.1f MiB above the start (%.2f x held; target <= 1.3)\n",
                peakSearch - startMiB, (peakSearch - startMiB) / (heldBytes / 1048576.0));
    if (peakBefore > startMiB + 1) // the peak counts from the process's start
        std::printf("(the process's peak before the search was already %.1f MiB)\n", peakBefore);

    MeasureSorts(table->header());
    const Stopwatch scroll;
    QScrollBar* bar = table->verticalScrollBar();
    for (int step = 0; step < 50; ++step) {
        bar->setValue(static_cast<int>(static_cast<int64_t>(bar->maximum()) * step / 50));
        table->repaint();
    }
    std::printf("scrolling through them, 50 repaints: %.1f ms each\n",
                scroll.Seconds() * 1000 / 50);
    ::malloc_trim(0);
    const double heldAtEnd = CurrentMemoryBytes() - before;
    std::printf("held at the end, sorted by path: %.1f MiB, %.1f bytes per row; the process's "
                "peak %.1f MiB (%.2f x held)\n",
                heldAtEnd / 1048576.0, heldAtEnd / static_cast<double>(rows), PeakMemoryMiB(),
                (PeakMemoryMiB() - startMiB) / (heldAtEnd / 1048576.0));
    return 0;
}

} // namespace vyp::bench
