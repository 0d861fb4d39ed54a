// The test side that every dialog seam (the folder, save-file and list pickers) has alike: a
// test starts the script, queues cancels and reads back what was asked, and the seam answers
// from Script() while the script is active instead of showing its dialog.
#pragma once

#include "ui/common/ScriptedAnswers.h"

#include <vector>

namespace vyp {

template <typename Request> class ScriptedSeam {
public:
    // For tests: from now on no dialog is shown; each request is recorded and answered with the
    // next queued answer, or cancelled when none is queued.
    static void StartScript() { Script().Start(); }
    static void QueueCancel() { Script().QueueCancel(); }
    static const std::vector<Request>& Asked() { return Script().Asked(); }

protected:
    static ScriptedAnswers<Request>& Script() {
        static ScriptedAnswers<Request> script;
        return script;
    }
};

} // namespace vyp
