#include "ui/common/WorkerWait.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace vyp {
namespace {

// Types text key by key (accented letters too, which QTest::keyClicks cannot).
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The work runs until the test, on the window side, lets it end; meanwhile the windows are
// painted and refuse input.
TEST(WorkerWait, WindowsPaintAndRefuseInputUntilTheWorkEnds) {
    QMainWindow main;
    auto* edit = new QLineEdit(&main);
    main.setCentralWidget(edit);
    main.show();
    QApplication::processEvents();

    WorkerWait wait(main);
    std::atomic<bool> release{false};
    int paints = 0;
    bool busyCursor = false;
    QTimer::singleShot(120, &main, [&] {
        busyCursor = QApplication::overrideCursor() != nullptr &&
                     QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        Type(edit, "Žluťoučký");
        release = true;
    });
    const bool finished = wait.Run(
        [&](WorkerProgress&) {
            while (!release)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        },
        [&](const WorkerProgress&) { ++paints; });

    EXPECT_TRUE(finished);
    EXPECT_GE(paints, 2);
    EXPECT_TRUE(busyCursor);
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    Type(edit, "Žluťoučký");
    EXPECT_EQ(edit->text(), "Žluťoučký") << "input is taken again once the work has ended";
}

TEST(WorkerWait, ClosingTheMainWindowStopsTheWorkAndClosesItAfterwards) {
    QMainWindow main;
    main.show();
    QApplication::processEvents();
    WorkerWait wait(main);
    QTimer::singleShot(50, &main, [&] { main.close(); });
    bool sawStop = false;
    const bool finished = wait.Run(
        [&](WorkerProgress& progress) {
            while (!progress.StopRequested())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            sawStop = true;
        },
        [](const WorkerProgress&) {});
    EXPECT_FALSE(finished);
    EXPECT_TRUE(sawStop);
    EXPECT_TRUE(main.isVisible()) << "closed only once the work has ended";
    QApplication::processEvents();
    EXPECT_FALSE(main.isVisible());
}

TEST(WorkerWait, AnErrorOfTheWorkReachesTheCaller) {
    QMainWindow main;
    WorkerWait wait(main);
    EXPECT_THROW(wait.Run([](WorkerProgress&) { throw std::runtime_error("Disk vyjmut"); },
                          [](const WorkerProgress&) {}),
                 std::runtime_error);
    EXPECT_FALSE(wait.Running());
}

} // namespace
} // namespace vyp
