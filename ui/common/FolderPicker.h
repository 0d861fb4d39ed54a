// The folder picker behind one seam, beside the message boxes. The program asks the system's
// folder dialog; tests script the answers in advance ("this folder" or "cancel"), so that
// nothing ever blocks, and read the prompt and start folder each request asked with.
#pragma once

#include "ui/common/ScriptedAnswers.h"

#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace vyp {

struct FolderRequest {
    QString prompt;
    QString startFolder; // where the dialog opens, when that folder exists
};

class FolderPicker {
public:
    // Shows a modal dialog that offers folders only; the folder chosen, or nothing when the
    // user cancelled.
    static std::optional<QString> Pick(QWidget* parent, const FolderRequest& request);

    // For tests: from now on no dialog is shown; each request is recorded and answered with the
    // next queued answer, or cancelled when none is queued.
    static void StartScript();
    static void QueueFolder(const QString& folder);
    static void QueueCancel();
    static const std::vector<FolderRequest>& Asked();

private:
    static ScriptedAnswers<FolderRequest>& TheScript();
};

} // namespace vyp
