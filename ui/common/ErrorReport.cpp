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
    setApplicationName(QStringLiteral("Vypisnik"));
    setApplicationDisplayName(QStringLiteral("Vypisnik"));
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
