// Message boxes and the system beep behind one seam. The program asks through it; tests
// script it, so that a question is answered in advance and nothing ever blocks, and read what
// the user would have seen.
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
