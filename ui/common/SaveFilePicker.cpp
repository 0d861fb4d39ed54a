#include "ui/common/SaveFilePicker.h"

#include <QFileDialog>

namespace vyp {

ScriptedAnswers<SaveFileRequest>& SaveFilePicker::TheScript() {
    static ScriptedAnswers<SaveFileRequest> script;
    return script;
}

std::optional<QString> SaveFilePicker::Pick(QWidget* parent, const SaveFileRequest& request) {
    if (TheScript().Active())
        return TheScript().Answer(request);
    const QString path = QFileDialog::getSaveFileName(parent, request.caption,
                                                      request.suggestedName, request.filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void SaveFilePicker::StartScript() {
    TheScript().Start();
}

void SaveFilePicker::QueueFile(const QString& path) {
    TheScript().QueueChoice(path);
}

void SaveFilePicker::QueueCancel() {
    TheScript().QueueCancel();
}

const std::vector<SaveFileRequest>& SaveFilePicker::Asked() {
    return TheScript().Asked();
}

} // namespace vyp
