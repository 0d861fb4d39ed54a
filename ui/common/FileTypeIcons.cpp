#include "ui/common/FileTypeIcons.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>

namespace vyp {

QIcon MimeFileTypeIcons::IconForExtension(const QString& extension) {
    const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QStringLiteral("x.") + extension, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    return icon;
}

} // namespace vyp
