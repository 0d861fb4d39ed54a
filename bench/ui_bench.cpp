// Window benchmarks, offscreen:
//   tree  — builds the list tree of 100 lists of 10,000 folder lines each (1,000,000 folder
//           nodes) and compares it with the core reading the same hierarchies; prints the peak
//           memory and how long expanding a list node and scrolling take.
//   table — selects a folder of 100,000 files in a list of 1,000,000 lines (bench/make_list)
//           and compares filling and sorting the file table with grep -c over the same file;
//           then sorts by "Soubor" again through header clicks.
//
//   search — writes (once) a list of LINES lines with accented names and searches it for ".",
//           which every line holds, in the search window and with vypisnik-cli in the same run;
//           prints the memory the window holds per row, the re-sort by "Soubor / složka" and
//           a repaint while scrolling.
//
//   newlist — creates a list of a generated tree (bench/make_tree) through the new-list window,
//           clicking "Vytvoř", and compares it with the core scan writing the same list in the
//           same run; prints the longest time the window went without being painted.
//
//   startup — builds the tree of every list in DATA/Seznamy (bench/compare_search.sh makes
//           twelve lists of 2,000,000 lines) against `cat` of the same files, and prints the
//           memory the tree holds per folder node.
//   select — selects the folder "Velka\Slozka\" (1,000 files in those lists) in the first
//           list, against selecting it in a list that holds only that folder.
//
//   vyp-bench-ui tree [WORK=/tmp/vyp-bench-ui]
//   vyp-bench-ui startup DATA
//   vyp-bench-ui select DATA
//   vyp-bench-ui table LISTFILE
//   vyp-bench-ui newlist TREE [WORK=/tmp/vyp-bench-newlist]
//   vyp-bench-ui search [LINES=1000000] [WORK=/tmp/vyp-bench-find]
#include "BenchUtil.h"

#include "lists/FolderHierarchy.h"
#include "lists/ListFile.h"
#include "platform/Native.h"
#include "scan/FolderScan.h"
#include "ui/Process_u/TfProcess.h"
#include "ui/Vypisnik_u/TfLV.h"
#include "ui/common/Dialogs.h"
#include "ui/common/ErrorReport.h"
#include "ui/common/FileTypeIcons.h"
#include "ui/common/FolderPicker.h"
#include "ui/common/TreeGrid.h"
#include "ui/find_u/TfFind.h"
#include "ui/new_list_u/TfNewList.h"
#include "util/SafeFileWriter.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <fstream>
#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using vyp::bench::Stopwatch;

std::string MakeTreeLists(const std::string& work) {
    const std::string data = work + "/data";
    const std::string lists = data + "/Seznamy/";
    if (!std::filesystem::exists(lists + "List099.sez")) {
        std::filesystem::create_directories(lists);
        for (int list = 0; list < 100; ++list) {
            std::string bytes = "E:\\\t123456789\r\n";
            for (int top = 0, written = 0; written < 10000; ++top) {
                const std::string a = "Slozka" + std::to_string(top) + "\\";
                bytes += a + "\t" + std::to_string(1000 + top) + "\t2004.1.15\t9:30.0\r\n";
                ++written;
                for (int sub = 0; sub < 9 && written < 10000; ++sub, ++written)
                    bytes += a + "Podslozka" + std::to_string(sub) + "\\\t" + std::to_string(sub) +
                             "\t2004.1.15\t9:30.0\r\nsoubor.txt\t1\t2004.1.15\t9:30.0\r\n";
            }
            char name[32];
            std::snprintf(name, sizeof name, "List%03d.sez", list);
            vyp::WriteFileSafely(lists + name, bytes);
        }
    }
    return data;
}

vyp::MainWindowEnvironment Environment(const std::string& data, vyp::DirectoryWalker& walker,
                                       vyp::FileTypeIconProvider& icons) {
    return {vyp::DataFolder(data), &walker, &icons, vyp::RegionalSettings::Czech(),
            QLocale(QLocale::Czech, QLocale::CzechRepublic)};
}

int TreeBench(const std::string& work) {
    const std::string data = MakeTreeLists(work);
    vyp::NativeDirectoryWalker walker;
    vyp::ListRegistry registry;
    vyp::FindLists(registry, data + "/Seznamy", "*.sez", data + "/settings.ini", walker);
    double coreSeconds = 1e9;
    for (int run = 0; run < 3; ++run) {
        const Stopwatch watch;
        size_t nodes = 0;
        for (const std::string& path : registry.ListPaths)
            nodes += vyp::FolderHierarchy::Read(path).Count();
        coreSeconds = std::min(coreSeconds, watch.Seconds());
        if (run == 0)
            std::printf("core: %zu folder nodes\n", nodes);
    }
    vyp::MimeFileTypeIcons icons;
    vyp::TfLV window(Environment(data, walker, icons));
    vyp::TfProcess progress;
    window.SetProgressWindow(&progress);
    window.resize(944, 541);
    window.show();
    QApplication::processEvents();
    double buildSeconds = 1e9;
    for (int run = 0; run < 3; ++run) {
        const Stopwatch watch;
        window.RefreshLists();
        buildSeconds = std::min(buildSeconds, watch.Seconds());
    }
    std::printf("core reading 100 hierarchies: %.3f s\n", coreSeconds);
    std::printf("tree build: %.3f s (%.2f x core; target <= 1.5)\n", buildSeconds,
                buildSeconds / coreSeconds);
    std::printf("peak memory after the builds: %.1f MiB (target < 400)\n",
                vyp::bench::PeakMemoryMiB());

    auto* tree = window.findChild<vyp::TreeGrid*>(QStringLiteral("VSTTree"));
    const vyp::NodeId group = tree->ChildAt(vyp::kNoNode, 6);
    const vyp::NodeId list = tree->ChildAt(group, 0);
    Stopwatch expand;
    tree->expand(tree->Model().IndexOf(group));
    tree->expand(tree->Model().IndexOf(list));
    QApplication::processEvents();
    tree->repaint();
    std::printf("expanding a list of 1,000 top-level folders: %.1f ms\n", expand.Seconds() * 1000);
    Stopwatch scroll;
    for (int step = 0; step < 50; ++step) {
        tree->verticalScrollBar()->setValue(tree->verticalScrollBar()->maximum() * step / 50);
        tree->repaint();
    }
    std::printf("scrolling through it, 50 repaints: %.1f ms each\n", scroll.Seconds() * 1000 / 50);
    return 0;
}

double CatSeconds(const std::vector<std::string>& files) {
    std::string command = "cat";
    for (const std::string& file : files)
        command += " '" + file + "'";
    command += " > /dev/null";
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const Stopwatch watch;
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "cat failed\n");
        best = std::min(best, watch.Seconds());
    }
    return best;
}

int StartupBench(const std::string& data) {
    vyp::NativeDirectoryWalker walker;
    vyp::ListRegistry registry;
    vyp::FindLists(registry, data + "/Seznamy", "*.sez", data + "/settings.ini", walker);
    const double catSeconds = CatSeconds(registry.ListPaths);
    vyp::MimeFileTypeIcons icons;
    const double before = vyp::bench::CurrentMemoryBytes();
    // Showing the window builds the tree, as at start-up.
    const Stopwatch first;
    vyp::TfLV window(Environment(data, walker, icons));
    window.resize(944, 541);
    window.show();
    QApplication::processEvents();
    double buildSeconds = first.Seconds();
    auto* tree = window.findChild<vyp::TreeGrid*>(QStringLiteral("VSTTree"));
    const double folders = static_cast<double>(tree->NodeCount() - 7 - registry.ListPaths.size());
    const double perNode = (vyp::bench::CurrentMemoryBytes() - before) / folders;
    std::printf("%zu lists, %.0f folder nodes\n", registry.ListPaths.size(), folders);
    for (int run = 0; run < 2; ++run) {
        const Stopwatch watch;
        window.RefreshLists();
        buildSeconds = std::min(buildSeconds, watch.Seconds());
    }
    std::printf("cat of the lists: %.3f s\n", catSeconds);
    std::printf("tree build: %.3f s (%.2f x cat; target <= 8)\n", buildSeconds,
                buildSeconds / catSeconds);
    std::printf("memory of the window with its tree: %.0f bytes per folder node (target <= 100)\n",
                perNode);
    return 0;
}

// Selects the folder node captioned caption under the first list of the last group.
double SelectSeconds(const std::string& data, const QString& caption) {
    vyp::NativeDirectoryWalker walker;
    vyp::MimeFileTypeIcons icons;
    vyp::TfLV window(Environment(data, walker, icons));
    window.resize(944, 541);
    window.show();
    QApplication::processEvents();
    auto* tree = window.findChild<vyp::TreeGrid*>(QStringLiteral("VSTTree"));
    const vyp::NodeId group = tree->ChildAt(vyp::kNoNode, 6);
    const vyp::NodeId list = tree->ChildAt(group, 0);
    vyp::NodeId folder = vyp::kNoNode;
    for (int i = 0; i < tree->ChildCount(list) && folder == vyp::kNoNode; ++i) {
        const vyp::NodeId child = tree->ChildAt(list, i);
        if (tree->Model().data(tree->Model().IndexOf(child), Qt::DisplayRole).toString() == caption)
            folder = child;
    }
    if (folder == vyp::kNoNode) {
        std::fprintf(stderr, "no folder %s\n", caption.toUtf8().constData());
        return 0;
    }
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        tree->SelectNode(list);
        QApplication::processEvents();
        const Stopwatch watch;
        tree->SelectNode(folder);
        QApplication::processEvents();
        best = std::min(best, watch.Seconds());
    }
    return best;
}

int SelectBench(const std::string& data) {
    vyp::NativeDirectoryWalker walker;
    vyp::ListRegistry registry;
    vyp::FindLists(registry, data + "/Seznamy", "*.sez", data + "/settings.ini", walker);
    if (registry.ListPaths.empty())
        return 1;
    // The same folder in a list that holds nothing else.
    const std::string small = "/tmp/vyp-bench-select";
    std::filesystem::create_directories(small + "/Seznamy");
    std::string bytes, line;
    bool inside = false;
    const std::string whole = vyp::ReadWholeFile(registry.ListPaths[0]);
    bytes = whole.substr(0, whole.find("\r\n") + 2);
    for (std::string_view l : vyp::SplitLines(whole)) {
        if (l.find('\\') != std::string_view::npos)
            inside = l.starts_with("Velka\\Slozka\\\t");
        if (inside)
            bytes.append(l).append("\r\n");
    }
    vyp::WriteFileSafely(small + "/Seznamy/Jen slozka.sez", bytes);
    const double big = SelectSeconds(data, QStringLiteral("Slozka"));
    const double alone = SelectSeconds(small, QStringLiteral("Slozka"));
    std::printf("selecting Velka\\Slozka\\ in a list of %zu bytes: %.1f ms\n", whole.size(),
                big * 1000);
    std::printf("the same folder in a list that holds only it: %.1f ms (%.2f x; target <= 2)\n",
                alone * 1000, big / alone);
    return 0;
}

double GrepSeconds(const std::string& file) {
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const Stopwatch watch;
        if (std::system(
                ("LC_ALL=C grep -c -F '\\' '" + file + "' > /tmp/vyp-bench-grep.out").c_str()) != 0)
            std::fprintf(stderr, "grep failed\n");
        best = std::min(best, watch.Seconds());
    }
    return best;
}

int TableBench(const std::string& file) {
    const std::string data = std::filesystem::path(file).parent_path().parent_path().string();
    vyp::NativeDirectoryWalker walker;
    vyp::MimeFileTypeIcons icons;
    vyp::TfLV window(Environment(data, walker, icons));
    window.show();
    QApplication::processEvents();
    const double grep = GrepSeconds(file);
    double fill = 1e9;
    for (int run = 0; run < 3; ++run) {
        const Stopwatch watch;
        window.ShowFolderContents("Velka\\Slozka\\", file);
        QApplication::processEvents();
        fill = std::min(fill, watch.Seconds());
    }
    auto* view = window.findChild<vyp::TreeGrid*>(QStringLiteral("VSTView"));
    std::printf("grep -c: %.3f s\n", grep);
    std::printf("fill and sort %d rows: %.3f s (target <= 3 x grep + 0.5 s = %.3f s)\n",
                view->ChildCount(vyp::kNoNode), fill, 3 * grep + 0.5);
    QHeaderView* header = view->header();
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

// The longest stretch without a paint of the watched widget, between Start() and Stop().
class PaintGaps : public QObject {
public:
    void Start() {
        m_last = Stopwatch();
        m_longest = 0;
        m_paints = 0;
    }
    void Stop() { Note(); }
    double Longest() const { return m_longest; }
    int Paints() const { return m_paints; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            Note();
            ++m_paints;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Note() {
        m_longest = std::max(m_longest, m_last.Seconds());
        m_last = Stopwatch();
    }
    Stopwatch m_last;
    double m_longest = 0;
    int m_paints = 0;
};

int NewListBench(const std::string& tree, const std::string& work) {
    std::string root = tree;
    if (root.back() != '/')
        root += '/';
    const std::string data = work + "/data";
    std::filesystem::create_directories(data + "/Seznamy");
    vyp::NativeDirectoryWalker walker;
    double coreSeconds = 1e9;
    for (int run = 0; run < 5; ++run) {
        vyp::ScanLines lines;
        const Stopwatch watch;
        vyp::CreateList(walker, root, work + "/core.sez",
                        vyp::ScanOptions{false, vyp::RegionalSettings::Czech().timeSeparator},
                        lines);
        coreSeconds = std::min(coreSeconds, watch.Seconds());
    }

    vyp::MimeFileTypeIcons icons;
    vyp::TfLV window(Environment(data, walker, icons));
    vyp::TfProcess progress;
    window.SetProgressWindow(&progress);
    window.show();
    vyp::TfNewList newList(window.Context());
    newList.show();
    QApplication::processEvents();
    vyp::FolderPicker::StartScript();
    vyp::FolderPicker::QueueFolder(QString::fromStdString(root));
    QTest::mouseClick(newList.findChild<QToolButton*>(QStringLiteral("bntVyberSlozku")),
                      Qt::LeftButton);
    QTest::keyClicks(newList.findChild<QLineEdit*>(QStringLiteral("edtNazev")),
                     QStringLiteral("Zkusebni strom"));
    auto* create = newList.findChild<QPushButton*>(QStringLiteral("btnVytvor"));
    PaintGaps gaps;
    newList.findChild<QLabel*>(QStringLiteral("lblPrubeh"))->installEventFilter(&gaps);
    double windowSeconds = 1e9, longestGap = 0;
    int paints = 0;
    for (int run = 0; run < 5; ++run) {
        vyp::Dialogs::QueueAnswer(QMessageBox::Yes); // replace the list of the run before
        gaps.Start();
        const Stopwatch watch;
        QTest::mouseClick(create, Qt::LeftButton);
        windowSeconds = std::min(windowSeconds, watch.Seconds());
        gaps.Stop();
        longestGap = std::max(longestGap, gaps.Longest());
        paints += gaps.Paints();
    }
    const std::string list = data + "/Seznamy/Zkusebni strom.sez";
    const bool same = vyp::ReadWholeFile(list) == vyp::ReadWholeFile(work + "/core.sez");
    std::printf("core scan: %.3f s\n", coreSeconds);
    std::printf("through the window: %.3f s (%.2f x core; target <= 1.2), list %s the core's\n",
                windowSeconds, windowSeconds / coreSeconds, same ? "equal to" : "DIFFERENT FROM");
    std::printf("longest time without painting: %.0f ms (target <= 100), %d paints in 5 runs\n",
                longestGap * 1000, paints);
    return same ? 0 : 1;
}

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
    vyp::bench::DeterministicRandom random(20261208);
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

double ResidentMiB() {
    long pages = 0, resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1048576.0;
}

int SearchBench(const std::string& self, long lines, const std::string& work) {
    const std::string data = MakeSearchList(work, lines);
    const std::string cli =
        (std::filesystem::path(self).parent_path() / "../cli/vypisnik-cli").string();
    double cliSeconds = 1e9;
    for (int run = 0; run < 3; ++run) {
        const Stopwatch watch;
        if (std::system(("'" + cli + "' --data '" + data +
                         "' search . --groups 8 > /tmp/vyp-bench-find.out")
                            .c_str()) != 0)
            std::fprintf(stderr, "vypisnik-cli failed\n");
        cliSeconds = std::min(cliSeconds, watch.Seconds());
    }

    vyp::NativeDirectoryWalker walker;
    vyp::MimeFileTypeIcons icons;
    vyp::TfLV window(Environment(data, walker, icons));
    window.show();
    QApplication::processEvents();
    vyp::TfFind find(window.Context(), window);
    window.SetSearchWindow(&find);
    find.show();
    QApplication::processEvents();
    find.findChild<QCheckBox*>(QStringLiteral("CheckBox7"))->setChecked(true);
    find.findChild<QLineEdit*>(QStringLiteral("edtFind"))->setText(QStringLiteral("."));
    auto* button = find.findChild<QToolButton*>(QStringLiteral("btnFind"));
    ::malloc_trim(0);
    const double before = ResidentMiB();
    double searchSeconds = 1e9;
    for (int run = 0; run < 3; ++run) {
        const Stopwatch watch;
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents();
        searchSeconds = std::min(searchSeconds, watch.Seconds());
    }
    ::malloc_trim(0);
    auto* table = find.findChild<vyp::TreeGrid*>(QStringLiteral("VSTFind"));
    const size_t rows = table->NodeCount();
    const double textMiB = static_cast<double>(find.Found().Rows().TextBytes()) / 1048576.0;
    const double heldMiB = ResidentMiB() - before;
    std::printf("vypisnik-cli search . : %.3f s\n", cliSeconds);
    std::printf("search window, %zu rows found, filled and sorted: %.3f s (%.2f x cli; target "
                "<= 1.5)\n",
                rows, searchSeconds, searchSeconds / cliSeconds);
    std::printf("held after the search: %.1f MiB, of which texts %.1f MiB: %.1f bytes per row "
                "beyond the texts (target < 100)\n",
                heldMiB, textMiB, (heldMiB - textMiB) * 1048576.0 / static_cast<double>(rows));
    std::printf("peak memory: %.1f MiB\n", vyp::bench::PeakMemoryMiB());

    QHeaderView* header = table->header();
    const Stopwatch resort;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    QApplication::processEvents();
    std::printf("sorting by \"Soubor / složka\" after a header click: %.3f s (target < 1 s)\n",
                resort.Seconds());
    const Stopwatch flip;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    QApplication::processEvents();
    std::printf("and descending with a second click: %.3f s\n", flip.Seconds());
    const Stopwatch scroll;
    for (int step = 0; step < 50; ++step) {
        table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum() * step / 50);
        table->repaint();
    }
    std::printf("scrolling through them, 50 repaints: %.1f ms each\n",
                scroll.Seconds() * 1000 / 50);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    vyp::Application app(argc, argv);
    vyp::Dialogs::StartScript();
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "tree")
        return TreeBench(argc > 2 ? argv[2] : "/tmp/vyp-bench-ui");
    if (mode == "startup" && argc > 2)
        return StartupBench(argv[2]);
    if (mode == "select" && argc > 2)
        return SelectBench(argv[2]);
    if (mode == "table" && argc > 2)
        return TableBench(argv[2]);
    if (mode == "newlist" && argc > 2)
        return NewListBench(argv[2], argc > 3 ? argv[3] : "/tmp/vyp-bench-newlist");
    if (mode == "search")
        return SearchBench(argv[0], argc > 2 ? std::atol(argv[2]) : 1000000,
                           argc > 3 ? argv[3] : "/tmp/vyp-bench-find");
    std::fprintf(stderr, "usage: vyp-bench-ui tree [WORK] | startup DATA | select DATA | table "
                         "LISTFILE | newlist TREE [WORK] | search [LINES] [WORK]\n");
    return 2;
}
