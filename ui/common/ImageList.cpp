#include "ui/common/ImageList.h"

#include <QPixmap>

namespace vyp {

int ImageList::Add(const QIcon& icon) {
    if (icon.isNull())
        return -1;
    // Keep copies of the picture at the list's size, for screens of 100 %, 150 % and 200 %:
    // the icon's source may go away.
    QIcon copy;
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        const QPixmap picture = icon.pixmap(m_size, ratio);
        if (picture.isNull())
            return -1;
        copy.addPixmap(picture);
    }
    m_icons.append(copy);
    return static_cast<int>(m_icons.size()) - 1;
}

QIcon ImageList::At(int index) const {
    if (index < 0 || index >= m_icons.size())
        return QIcon();
    return m_icons[index];
}

QIcon PictureIcon(const QString& name, int size) {
    QIcon icon;
    // The names the build draws them under (cmake/Pictures.cmake).
    for (const char* density : {"", "@1.5x", "@2x"}) {
        QPixmap picture(QStringLiteral(":/vypisnik/pictures/%1-%2%3.png")
                            .arg(name)
                            .arg(size)
                            .arg(QLatin1String(density)));
        if (picture.isNull())
            continue; // drawn at its own size only
        // Drawn at the size times the density, rounded: this ratio keeps it size x size.
        picture.setDevicePixelRatio(static_cast<qreal>(picture.width()) / size);
        icon.addPixmap(picture);
    }
    return icon;
}

} // namespace vyp
