#include "ui/common/FileTypeIcons.h"

#include "ui/common/ImageList.h"

#include <QMimeDatabase>

namespace vyp {

QIcon OutlinedPageIcon() {
    return PictureIcon(QStringLiteral("blank"), 16);
}

QIcon MimeFileTypeIcons::IconForExtension(const QString& extension) {
    const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QStringLiteral("x.") + extension, QMimeDatabase::MatchExtension);
    // A type the system does not know gets our outlined page: the theme's page for it is white
    // without an outline and all but vanishes on the button-face background.
    if (type.isDefault())
        return OutlinedPageIcon();
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = OutlinedPageIcon();
    return icon;
}

} // namespace vyp
