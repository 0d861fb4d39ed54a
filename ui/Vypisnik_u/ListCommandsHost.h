// What the list commands ask of the window they serve: the main window, whose tree shows the
// lists. It implements this; ListCommands and its tests use nothing else of it.
#pragma once

#include <cstddef>
#include <string>

namespace vyp {

class ImageList;
class ListDifferences;
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
    // How far a comparison of two lists has come, while it runs; nullptr once it has ended.
    virtual void ShowCompareProgress(const WorkerProgress* progress) = 0;
    // The pictures of the tree (imgLst16: 0 folder, 1 list, 2..8 the groups).
    virtual const ImageList& GroupPictures() const = 0;
    // Shows what differs between the lists at the registry indexes first and second.
    virtual void ShowDifferences(ListDifferences&& differences, size_t first, size_t second) = 0;
};

} // namespace vyp
