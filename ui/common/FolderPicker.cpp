#include "ui/common/FolderPicker.h"

#include "platform/NoDriveErrorBoxes.h"

#include <QDir>
#include <QFileDialog>

namespace vyp {

std::optional<QString> FolderPicker::Pick(QWidget* parent, const FolderRequest& request) {
    if (Script().Active())
        return Script().Answer(request);
    // A start folder that does not exist would open the dialog somewhere arbitrary.
    const QString start = !request.startFolder.isEmpty() && QDir(request.startFolder).exists()
                              ? request.startFolder
                              : QString();
    // The dialog looks at every drive; an empty CD drive must not raise the system's box.
    const NoDriveErrorBoxes noDriveErrorBoxes;
    const QString folder =
        QFileDialog::getExistingDirectory(parent, request.prompt, start, QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

} // namespace vyp
