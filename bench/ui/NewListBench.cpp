// A list of the generated tree TREE (bench/make_tree) created through the new-list window by a
// click on "Vytvoř", against the core scan writing the same list in the same run; the longest
// time the window went without being painted meanwhile.
#include "WindowBench.h"

#include "lists/ListFile.h"
#include "scan/FolderScan.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FolderPicker.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace vyp::bench {
namespace {

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

} // namespace

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
    newList.findChild<QLabel*>(QStringLiteral("lblPrubeh"))->installEventFilter(&gaps);
    double windowSeconds = 1e9, longestGap = 0;
    int paints = 0;
    for (int run = 0; run < 5; ++run) {
        Dialogs::QueueAnswer(QMessageBox::Yes); // replace the list of the run before
        gaps.Start();
        const Stopwatch watch;
        QTest::mouseClick(create, Qt::LeftButton);
        windowSeconds = std::min(windowSeconds, watch.Seconds());
        gaps.Stop();
        longestGap = std::max(longestGap, gaps.Longest());
        paints += gaps.Paints();
    }
    const std::string list = data + "/Seznamy/Zkusebni strom.sez";
    const bool same = ReadWholeFile(list) == ReadWholeFile(work + "/core.sez");
    std::printf("core scan: %.3f s\n", coreSeconds);
    std::printf("through the window: %.3f s (%.2f x core; target <= 1.2), list %s the core's\n",
                windowSeconds, windowSeconds / coreSeconds, same ? "equal to" : "DIFFERENT FROM");
    std::printf("longest time without painting: %.0f ms (target <= 100), %d paints in 5 runs\n",
                longestGap * 1000, paints);
    return same ? 0 : 1;
}

} // namespace vyp::bench
