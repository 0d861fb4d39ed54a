// Runs one piece of work on a worker thread while the program waits for it as behind a modal
// dialog: every window refuses input, the cursor says "busy", and a callback paints the progress
// at regular intervals, so the windows keep painting. Nothing else of the program runs
// meanwhile, so the work may use what the windows use (the main window's walker).
// Closing the main window stops the work (the work watches the stop flag) and closes the window
// once it has ended.
#pragma once

#include <QEvent>
#include <QObject>

#include <atomic>
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

    // Runs work on a worker thread and returns when it has ended; paint runs on this thread every
    // few milliseconds meanwhile. Returns false when the work was stopped because the program is
    // closing. Rethrows the work's error.
    bool Run(const std::function<void(const std::atomic<bool>& stop)>& work,
             const std::function<void()>& paint);

    bool Running() const { return m_running; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_mainWindow;
    bool m_running = false;
    bool m_closeRequested = false;
    std::atomic<bool> m_stop{false};
};

} // namespace vyp
