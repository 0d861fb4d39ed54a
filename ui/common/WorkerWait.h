// Runs one piece of work on a worker thread while the program waits for it as behind a modal
// dialog: every window refuses input, the cursor says "busy", and a callback paints the work's
// progress at least every 100 ms, so the windows keep painting. Nothing else of the program runs
// meanwhile, so the work may use what the windows use (the main window's walker, its registry).
// Closing the main window stops the work (the work watches its progress's stop flag) and closes
// the window once it has ended. The wait owns the progress of the work it runs.
#pragma once

#include "ui/common/WorkerProgress.h"

#include <QEvent>
#include <QObject>

#include <functional>

class QWidget;

namespace vyp {

// The input a modal dialog keeps from the windows behind it: what every window refuses while
// work runs on a worker thread.
bool IsUserInput(QEvent::Type type);

class WorkerWait : public QObject {
    Q_OBJECT
public:
    explicit WorkerWait(QWidget& mainWindow);

    using Work = std::function<void(WorkerProgress& progress)>;
    using Paint = std::function<void(const WorkerProgress& progress)>;

    // Runs work on a worker thread and returns when it has ended; paint runs on this thread every
    // few milliseconds meanwhile, with the counts the work reported. Returns false when the work
    // was stopped because the program is closing. Rethrows the work's error.
    bool Run(const Work& work, const Paint& paint);

    bool Running() const { return m_running; }
    const WorkerProgress& Progress() const { return m_progress; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_mainWindow;
    bool m_running = false;
    bool m_closeRequested = false;
    WorkerProgress m_progress;
};

} // namespace vyp
