// What the main window lends the windows beside it (search, new list, and every window that
// works on the lists): the environment, the lists as it last loaded them, its pictures and
// itself as the window whose closing ends the program. References only: the main window outlives
// them all. What such a window does to the main window goes through FolderNavigator or its own
// Qt signals, never through the main window's class.
#pragma once

class QWidget;

namespace vyp {

class ExtensionIconCache;
class ImageList;
struct ListRegistry;
struct MainWindowEnvironment;

struct WindowContext {
    const MainWindowEnvironment& environment;
    // The lists the main window last loaded; it changes only when the main window refreshes,
    // which no input can ask for while a window waits for work on a worker.
    const ListRegistry& registry;
    const ImageList& groupPictures;   // imgLst16: 0 folder, 1 list, 2..8 the groups
    ExtensionIconCache& filePictures; // ImgS and the pictures of extensions
    QWidget& mainWindow;              // what a WorkerWait watches for the program's end
};

} // namespace vyp
