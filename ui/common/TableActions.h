// What the windows of results (search, duplicates, comparison) do alike with their tables: one
// handler for a row's double click and for Return or Enter pressed in the table, and a context
// menu of named actions that pops up at a right click (its aboutToShow the place to enable them
// as the selection allows). Every handler runs Guarded, so an error
// is reported and never crosses Qt's event loop.
#pragma once

#include <QString>

#include <functional>

class QAbstractItemView;
class QAction;
class QMenu;

namespace vyp {

class FlatGrid;
class TreeGrid;

class TableActions {
public:
    // Runs open on a double click in grid and on Return or Enter pressed in it.
    static void OnOpen(TreeGrid& grid, const std::function<void()>& open);
    static void OnOpen(FlatGrid& grid, const std::function<void()>& open);
    // A menu of grid's window named objectName that pops up at a right click in grid.
    static QMenu* ContextMenu(QAbstractItemView& grid, const QString& objectName);
    // A table of hits in lists: a double click, Return or Enter runs goTo; the context menu
    // objectName offers "Přejít na složku" (actGoToFolder), enabled when canGo says the
    // selection has a folder to go to, and "Uložit jako CSV…" (saveName), which runs save.
    static QMenu* HitMenu(TreeGrid& grid, const QString& objectName, const QString& saveName,
                          const std::function<void()>& goTo, const std::function<bool()>& canGo,
                          const std::function<void()>& save);
    static QMenu* HitMenu(FlatGrid& grid, const QString& objectName, const QString& saveName,
                          const std::function<void()>& goTo, const std::function<bool()>& canGo,
                          const std::function<void()>& save);
    // An action of menu with caption, named objectName, that runs run.
    static QAction* AddAction(QMenu& menu, const QString& caption, const QString& objectName,
                              const std::function<void()>& run);
};

} // namespace vyp
