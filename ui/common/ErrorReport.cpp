#include "ui/common/ErrorReport.h"

#include "qtcore/Utf8.h"
#include "ui/common/Dialogs.h"

#include <QStringList>

namespace vyp {

QString ErrorReportText(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void ReportError(const QString& text) {
    Dialogs::Show(QApplication::activeWindow(),
                  {Dialogs::ProgramTitle(), ErrorReportText(text), QMessageBox::Critical,
                   QMessageBox::Ok, QMessageBox::Ok});
}

void ReportErrors(const std::vector<std::string>& errors) {
    if (errors.empty())
        return;
    QStringList texts;
    for (const std::string& error : errors)
        texts.append(Utf8(error));
    ReportError(texts.join(QLatin1Char('\n')));
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // The application's title is its name. No display name is set: the window system would
    // append it to every caption ("Chyba! — Vypisnik"), and each box names its own caption.
    setApplicationName(Dialogs::ProgramTitle());
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
