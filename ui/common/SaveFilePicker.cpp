#include "ui/common/SaveFilePicker.h"

#include <QFileDialog>

namespace vyp {

SaveFilePicker::Script& SaveFilePicker::TheScript() {
    static Script script;
    return script;
}

std::optional<QString> SaveFilePicker::Pick(QWidget* parent, const SaveFileRequest& request) {
    Script& script = TheScript();
    if (script.active) {
        script.asked.push_back(request);
        if (script.answers.empty())
            return std::nullopt;
        const Script::Answer answer = script.answers.front();
        script.answers.pop_front();
        if (!answer.chosen)
            return std::nullopt;
        return answer.path;
    }
    const QString path = QFileDialog::getSaveFileName(parent, request.caption,
                                                      request.suggestedName, request.filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void SaveFilePicker::StartScript() {
    TheScript() = Script{true, {}, {}};
}

void SaveFilePicker::QueueFile(const QString& path) {
    TheScript().answers.push_back({true, path});
}

void SaveFilePicker::QueueCancel() {
    TheScript().answers.push_back({false, QString()});
}

const std::vector<SaveFileRequest>& SaveFilePicker::Asked() {
    return TheScript().asked;
}

} // namespace vyp
