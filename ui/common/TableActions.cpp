#include "ui/common/TableActions.h"

#include "ui/common/ErrorReport.h"
#include "ui/common/TreeGrid.h"

#include <QKeyEvent>
#include <QMenu>

namespace vyp {

void TableActions::OnOpen(TreeGrid& grid, const std::function<void()>& open) {
    QObject::connect(&grid, &QAbstractItemView::doubleClicked, &grid,
                     [open] { Guarded([&open] { open(); }); });
    QObject::connect(&grid, &TreeGrid::KeyDown, &grid, [open](QKeyEvent* event) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            Guarded([&open] { open(); });
    });
}

QMenu* TableActions::ContextMenu(TreeGrid& grid, const QString& objectName) {
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
    OnOpen(grid, goTo);
    QMenu* menu = ContextMenu(grid, objectName);
    QAction* go =
        AddAction(*menu, QStringLiteral("Přejít na složku"), QStringLiteral("actGoToFolder"), goTo);
    AddAction(*menu, QStringLiteral("Uložit jako CSV…"), saveName, save);
    QObject::connect(menu, &QMenu::aboutToShow, go, [go, canGo] { go->setEnabled(canGo()); });
    return menu;
}

QAction* TableActions::AddAction(QMenu& menu, const QString& caption, const QString& objectName,
                                 const std::function<void()>& run) {
    QAction* action = menu.addAction(caption);
    action->setObjectName(objectName);
    QObject::connect(action, &QAction::triggered, &menu, [run] { Guarded([&run] { run(); }); });
    return action;
}

} // namespace vyp
