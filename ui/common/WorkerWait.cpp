#include "ui/common/WorkerWait.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <exception>
#include <thread>

namespace vyp {

namespace {

constexpr int kPaintInterval = 50; // ms between two paintings of the progress

} // namespace

// The input a modal dialog keeps from the windows behind it.
bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

WorkerWait::WorkerWait(QWidget& mainWindow) : m_mainWindow(mainWindow) {}

bool WorkerWait::Run(const Work& work, const Paint& paint) {
    m_progress.Reset();
    m_closeRequested = false;

    struct Waiting {
        WorkerWait& wait;
        explicit Waiting(WorkerWait& w) : wait(w) {
            wait.m_running = true;
            qApp->installEventFilter(&wait);
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
        ~Waiting() {
            QApplication::restoreOverrideCursor();
            qApp->removeEventFilter(&wait);
            wait.m_running = false;
        }
    } waiting(*this);
    paint(m_progress);
    QTimer ticker;
    ticker.setInterval(kPaintInterval);
    connect(&ticker, &QTimer::timeout, this, [this, &paint] { paint(m_progress); });
    ticker.start();

    QEventLoop loop;
    std::thread worker([&] {
        std::exception_ptr failure;
        try {
            work(m_progress);
        } catch (...) {
            failure = std::current_exception();
        }
        m_progress.Finish(failure);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    if (!m_progress.Ended())
        m_progress.RequestStop(); // the application is quitting: its event loops were told to end
    worker.join();
    ticker.stop();

    if (m_closeRequested) {
        // The main window was closed meanwhile: close it now, asking nothing more.
        QMetaObject::invokeMethod(&m_mainWindow, &QWidget::close, Qt::QueuedConnection);
        return false;
    }
    if (const std::exception_ptr failure = m_progress.Failure())
        std::rethrow_exception(failure);
    return !m_progress.StopRequested();
}

bool WorkerWait::eventFilter(QObject* watched, QEvent* event) {
    if (!m_running)
        return QObject::eventFilter(watched, event);
    if (IsUserInput(event->type())) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::Close && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
        // Closing the main window ends the program: the work stops, and the window closes once
        // it has. Other windows stay open, as behind a modal dialog.
        if (watched == &m_mainWindow) {
            m_closeRequested = true;
            m_progress.RequestStop();
        }
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vyp
