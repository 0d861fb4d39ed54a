// The commands of the list tree on one list of the registry: deleting it (the Delete key),
// moving it to another group (the popup menu's groups), scanning its folder again ("Obnovit
// seznam") and comparing it with another list ("Porovnat se seznamem…"). Each asks what it must
// ask, changes the list file and "settings.ini", and has the main window refresh its lists; the
// main window says which list is meant and reports what is thrown. The window they ask and wait
// over is the main window.
#pragma once

#include <cstddef>

class QWidget;

namespace vyp {

class ListCommandsHost;
struct ListRegistry;
struct MainWindowEnvironment;

class ListCommands {
public:
    ListCommands(QWidget& window, ListCommandsHost& host, ListRegistry& registry,
                 const MainWindowEnvironment& environment);

    // Asks, then removes the list's file and its key of "settings.ini" and refreshes. A file
    // that cannot be removed is reported and keeps its key, so the list does not fall back to
    // "Neurčeno" unnoticed.
    void Delete(size_t list);
    // Records group as the list's group and refreshes, also when it is the group it had.
    void ChangeGroup(size_t list, int group);
    // Scans the list's folder again on a worker while the windows wait, the count shown in the
    // tree's status bar. Without its disc nothing changes; when most of the list would
    // disappear, asks first. Then replaces the list, refreshes with the list still selected and
    // tells what changed.
    void Rescan(size_t list);
    // Asks which other list to compare the list with, compares the two on a worker while the
    // windows wait, the count shown in the tree's status bar, and has the differences shown.
    // A list that cannot be read is thrown as the error it is.
    void Compare(size_t list);

private:
    QWidget& m_window;
    ListCommandsHost& m_host;
    ListRegistry& m_registry;
    const MainWindowEnvironment& m_env;
};

} // namespace vyp
