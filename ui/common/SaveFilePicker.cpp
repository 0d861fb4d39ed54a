#include "ui/common/SaveFilePicker.h"

#include <QFileDialog>

namespace vyp {

std::optional<QString> SaveFilePicker::Pick(QWidget* parent, const SaveFileRequest& request) {
    if (Script().Active())
        return Script().Answer(request);
    const QString path = QFileDialog::getSaveFileName(parent, request.caption,
                                                      request.suggestedName, request.filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace vyp
