// The save-file dialog behind one seam, beside the folder picker. The program asks the system's
// dialog; tests script the answers in advance ("this file" or "cancel"), so that nothing ever
// blocks, and read the caption and suggested name each request asked with.
#pragma once

#include "ui/common/ScriptedSeam.h"

#include <QString>

#include <optional>

class QWidget;

namespace vyp {

struct SaveFileRequest {
    QString caption;
    QString suggestedName; // the file name the dialog offers
    QString filter;        // e.g. "Soubory CSV (*.csv)"
};

class SaveFilePicker : public ScriptedSeam<SaveFileRequest> {
public:
    // Shows a modal dialog asking where to save; the path chosen, or nothing when the user
    // cancelled. The dialog itself asks before an existing file is overwritten.
    static std::optional<QString> Pick(QWidget* parent, const SaveFileRequest& request);

    // For tests: the next request is answered with path.
    static void QueueFile(const QString& path) { Script().QueueChoice(path); }
};

} // namespace vyp
