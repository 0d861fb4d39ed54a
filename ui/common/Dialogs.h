// Message boxes and the system beep behind one seam. The program asks through it, mostly by
// the three kinds of box it shows (Ask, Warn, Inform); tests script it, so that a question is
// answered in advance and nothing ever blocks, and read what the user would have seen.
#pragma once

#include <QMessageBox>
#include <QString>

#include <deque>
#include <memory>
#include <vector>

namespace vyp {

struct MessageRequest {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
};

class Dialogs {
public:
    // The caption of the program's questions and messages: the application's title.
    static QString ProgramTitle() { return QStringLiteral("Vypisnik"); }

    // A question with Yes and No, No the default; true when the answer is Yes.
    static bool Ask(QWidget* parent, const QString& text);
    // A warning with an OK button; with Cancel too where buttons says so, which only closes it
    // as well.
    static void Warn(QWidget* parent, const QString& text, const QString& caption = ProgramTitle(),
                     QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    static void Inform(QWidget* parent, const QString& text);

    // Shows a modal message box and returns the button chosen.
    static QMessageBox::StandardButton Show(QWidget* parent, const MessageRequest& request);
    // The box Show() shows, not yet shown: its caption is the request's alone (no
    // application name appended by the window system).
    static std::unique_ptr<QMessageBox> MakeBox(QWidget* parent, const MessageRequest& request);
    static void Beep();

    // For tests: from now on no box is shown; each request is recorded and answered with the
    // next queued answer, or with its default button when none is queued.
    static void StartScript();
    static void QueueAnswer(QMessageBox::StandardButton answer);
    static const std::vector<MessageRequest>& Shown();
    static int Beeps();

private:
    struct Script {
        bool active = false;
        std::deque<QMessageBox::StandardButton> answers;
        std::vector<MessageRequest> shown;
        int beeps = 0;
    };
    static Script& TheScript();
};

} // namespace vyp
