// Showing a folder of a list in the main window, for the windows that find things in lists (the
// search's hits): the main window implements it, the other windows ask it.
#pragma once

#include <string>
#include <string_view>

namespace vyp {

class FolderNavigator {
public:
    virtual ~FolderNavigator() = default;
    // Brings the main window to the front and shows the folder folderPath (bytes as stored;
    // empty: the list's root) of the list in the file listFile as if the user had opened it, the
    // file named fileName (if any) selected among its files. Returns false, changing nothing,
    // when the list or the folder is not in the tree as it is now.
    virtual bool GoToFolder(const std::string& listFile, std::string_view folderPath,
                            std::string_view fileName) = 0;
};

} // namespace vyp
