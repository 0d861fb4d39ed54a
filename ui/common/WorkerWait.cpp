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

bool WorkerWait::Run(const std::function<void(const std::atomic<bool>& stop)>& work,
                     const std::function<void()>& paint) {
    m_stop = false;
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
    paint();
    QTimer ticker;
    ticker.setInterval(kPaintInterval);
    connect(&ticker, &QTimer::timeout, this, [&paint] { paint(); });
    ticker.start();

    QEventLoop loop;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work(m_stop);
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    if (!done)
        m_stop = true; // the application is quitting: its event loops have been told to end
    worker.join();
    ticker.stop();

    if (m_closeRequested) {
        // The main window was closed meanwhile: close it now, asking nothing more.
        QMetaObject::invokeMethod(&m_mainWindow, &QWidget::close, Qt::QueuedConnection);
        return false;
    }
    if (failure)
        std::rethrow_exception(failure);
    return !m_stop;
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
            m_stop = true;
        }
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vyp
