#include "ui/common/TableActions.h"

#include "ui/common/ErrorReport.h"
#include "ui/common/FlatGrid.h"
#include "ui/common/TreeGrid.h"

#include <QKeyEvent>
#include <QMenu>

namespace vyp {

namespace {

// The tree grid and the flat grid report keys alike, each through its own signal.
template <typename Grid> void OnOpenOf(Grid& grid, const std::function<void()>& open) {
    QObject::connect(&grid, &QAbstractItemView::doubleClicked, &grid,
                     [open] { Guarded([&open] { open(); }); });
    QObject::connect(&grid, &Grid::KeyDown, &grid, [open](QKeyEvent* event) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            Guarded([&open] { open(); });
    });
}

template <typename Grid>
QMenu* HitMenuOf(Grid& grid, const QString& objectName, const QString& saveName,
                 const std::function<void()>& goTo, const std::function<bool()>& canGo,
                 const std::function<void()>& save) {
    TableActions::OnOpen(grid, goTo);
    QMenu* menu = TableActions::ContextMenu(grid, objectName);
    QAction* go = TableActions::AddAction(*menu, QStringLiteral("Přejít na složku"),
                                          QStringLiteral("actGoToFolder"), goTo);
    TableActions::AddAction(*menu, QStringLiteral("Uložit jako CSV…"), saveName, save);
    QObject::connect(menu, &QMenu::aboutToShow, go, [go, canGo] { go->setEnabled(canGo()); });
    return menu;
}

} // namespace

void TableActions::OnOpen(TreeGrid& grid, const std::function<void()>& open) {
    OnOpenOf(grid, open);
}

void TableActions::OnOpen(FlatGrid& grid, const std::function<void()>& open) {
    OnOpenOf(grid, open);
}

QMenu* TableActions::ContextMenu(QAbstractItemView& grid, const QString& objectName) {
    auto* menu = new QMenu(grid.window());
    menu->setObjectName(objectName);
    grid.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        &grid, &QWidget::customContextMenuRequested, menu,
        [&grid, menu](const QPoint& at) { menu->popup(grid.viewport()->mapToGlobal(at)); });
    return menu;
}

QMenu* TableActions::HitMenu(TreeGrid& grid, const QString& objectName, const QString& saveName,
                             const std::function<void()>& goTo, const std::function<bool()>& canGo,
                             const std::function<void()>& save) {
    return HitMenuOf(grid, objectName, saveName, goTo, canGo, save);
}

QMenu* TableActions::HitMenu(FlatGrid& grid, const QString& objectName, const QString& saveName,
                             const std::function<void()>& goTo, const std::function<bool()>& canGo,
                             const std::function<void()>& save) {
    return HitMenuOf(grid, objectName, saveName, goTo, canGo, save);
}

QAction* TableActions::AddAction(QMenu& menu, const QString& caption, const QString& objectName,
                                 const std::function<void()>& run) {
    QAction* action = menu.addAction(caption);
    action->setObjectName(objectName);
    QObject::connect(action, &QAction::triggered, &menu, [run] { Guarded([&run] { run(); }); });
    return action;
}

} // namespace vyp
