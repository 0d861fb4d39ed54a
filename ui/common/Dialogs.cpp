#include "ui/common/Dialogs.h"

#ifdef _WIN32
#include "platform/WindowsShell.h"
#endif

#include <QApplication>

namespace vyp {

Dialogs::Script& Dialogs::TheScript() {
    static Script script;
    return script;
}

bool Dialogs::Ask(QWidget* parent, const QString& text) {
    return Show(parent, {ProgramTitle(), text, QMessageBox::Question,
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::No}) == QMessageBox::Yes;
}

void Dialogs::Warn(QWidget* parent, const QString& text, const QString& caption,
                   QMessageBox::StandardButtons buttons) {
    Show(parent, {caption, text, QMessageBox::Warning, buttons, QMessageBox::Ok});
}

void Dialogs::Inform(QWidget* parent, const QString& text) {
    Show(parent,
         {ProgramTitle(), text, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok});
}

QMessageBox::StandardButton Dialogs::Show(QWidget* parent, const MessageRequest& request) {
    Script& script = TheScript();
    if (script.active) {
        script.shown.push_back(request);
        if (script.answers.empty())
            return request.defaultButton;
        const QMessageBox::StandardButton answer = script.answers.front();
        script.answers.pop_front();
        return answer;
    }
    const std::unique_ptr<QMessageBox> box = MakeBox(parent, request);
    return static_cast<QMessageBox::StandardButton>(box->exec());
}

std::unique_ptr<QMessageBox> Dialogs::MakeBox(QWidget* parent, const MessageRequest& request) {
    auto box = std::make_unique<QMessageBox>(request.icon, request.caption, request.text,
                                             request.buttons, parent);
    box->setDefaultButton(request.defaultButton);
    return box;
}

void Dialogs::Beep() {
    Script& script = TheScript();
    if (script.active)
        ++script.beeps;
    else
#ifdef _WIN32
        InformationBeep(); // Qt's beep on Windows is the default sound, not the information one
#else
        QApplication::beep();
#endif
}

void Dialogs::StartScript() {
    TheScript() = Script{true, {}, {}, 0};
}

void Dialogs::QueueAnswer(QMessageBox::StandardButton answer) {
    TheScript().answers.push_back(answer);
}

const std::vector<MessageRequest>& Dialogs::Shown() {
    return TheScript().shown;
}

int Dialogs::Beeps() {
    return TheScript().beeps;
}

} // namespace vyp
