// What the list commands ask of the window they serve: the main window, whose tree shows the
// lists. It implements this; ListCommands and its tests use nothing else of it.
#pragma once

#include <string>

namespace vyp {

class WorkerProgress;

class ListCommandsHost {
public:
    virtual ~ListCommandsHost() = default;
    // Finds the lists again and rebuilds the tree.
    virtual void RefreshLists() = 0;
    // Selects the node of the list in the file listFile in the tree as it is now, if it is there.
    virtual void SelectList(const std::string& listFile) = 0;
    // How far a rescan has come, while it runs; nullptr once it has ended.
    virtual void ShowRescanProgress(const WorkerProgress* progress) = 0;
};

} // namespace vyp
