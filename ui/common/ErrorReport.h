// The program's general error report: an error that no handler of ours deals with itself is
// shown in a message box titled "Vypisnik" with the stop icon and one OK button, and the
// program goes on. Handlers run their work through Guarded(); Application catches whatever
// still leaves an event handler, so no exception ever crosses Qt's event loop.
#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <string>
#include <vector>

namespace vyp {

// The text as reported: a "." is added when its last character comes after "." in character
// order (a conversion error gains it, a text ending in ")" does not).
QString ErrorReportText(const QString& text);

void ReportError(const QString& text);
// Several errors in one box, one a line (the lists a search could not read); none, no box.
void ReportErrors(const std::vector<std::string>& errors);

// Runs work; an exception it throws is reported. Returns false when one was.
template <typename Work> bool Guarded(Work&& work) {
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        ReportError(QString::fromUtf8(error.what()));
    } catch (...) {
        ReportError(QStringLiteral("Unknown error"));
    }
    return false;
}

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace vyp
