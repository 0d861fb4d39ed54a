// The folder picker behind one seam, beside the message boxes. The program asks the system's
// folder dialog; tests script the answers in advance ("this folder" or "cancel"), so that
// nothing ever blocks, and read the prompt and start folder each request asked with.
#pragma once

#include "ui/common/ScriptedSeam.h"

#include <QString>

#include <optional>

class QWidget;

namespace vyp {

struct FolderRequest {
    QString prompt;
    QString startFolder; // where the dialog opens, when that folder exists
};

class FolderPicker : public ScriptedSeam<FolderRequest> {
public:
    // Shows a modal dialog that offers folders only; the folder chosen, or nothing when the
    // user cancelled.
    static std::optional<QString> Pick(QWidget* parent, const FolderRequest& request);

    // For tests: the next request is answered with folder.
    static void QueueFolder(const QString& folder) { Script().QueueChoice(folder); }
};

} // namespace vyp
