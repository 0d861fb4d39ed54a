#include "ui/common/FolderPicker.h"

#include <QDir>
#include <QFileDialog>

namespace vyp {

FolderPicker::Script& FolderPicker::TheScript() {
    static Script script;
    return script;
}

std::optional<QString> FolderPicker::Pick(QWidget* parent, const FolderRequest& request) {
    Script& script = TheScript();
    if (script.active) {
        script.asked.push_back(request);
        if (script.answers.empty())
            return std::nullopt;
        const Script::Answer answer = script.answers.front();
        script.answers.pop_front();
        if (!answer.chosen)
            return std::nullopt;
        return answer.folder;
    }
    // A start folder that does not exist would open the dialog somewhere arbitrary.
    const QString start = !request.startFolder.isEmpty() && QDir(request.startFolder).exists()
                              ? request.startFolder
                              : QString();
    const QString folder =
        QFileDialog::getExistingDirectory(parent, request.prompt, start, QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

void FolderPicker::StartScript() {
    TheScript() = Script{true, {}, {}};
}

void FolderPicker::QueueFolder(const QString& folder) {
    TheScript().answers.push_back({true, folder});
}

void FolderPicker::QueueCancel() {
    TheScript().answers.push_back({false, QString()});
}

const std::vector<FolderRequest>& FolderPicker::Asked() {
    return TheScript().asked;
}

} // namespace vyp
