#include "ui/common/ErrorReport.h"

#include "ui/common/Dialogs.h"

namespace vyp {

QString ErrorReportText(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void ReportError(const QString& text) {
    MessageRequest request;
    request.caption = QStringLiteral("Vypisnik");
    request.text = ErrorReportText(text);
    request.icon = QMessageBox::Critical;
    request.buttons = QMessageBox::Ok;
    request.defaultButton = QMessageBox::Ok;
    Dialogs::Show(QApplication::activeWindow(), request);
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // The application's title is its name. No display name is set: the window system would
    // append it to every caption ("Chyba! — Vypisnik"), and each box names its own caption.
    setApplicationName(QStringLiteral("Vypisnik"));
    setDesktopFileName(QStringLiteral("vypisnik")); // the desktop entry, for the task bar icon
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportError(QString::fromUtf8(error.what()));
    } catch (...) {
        ReportError(QStringLiteral("Unknown error"));
    }
    return false;
}

} // namespace vyp
