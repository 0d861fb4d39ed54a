#include "ui/common/ImageList.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace vyp {

int ImageList::Add(const QIcon& icon) {
    if (icon.isNull())
        return -1;
    // Keep a copy of the picture at the list's size: the icon's source may go away.
    const QPixmap picture = icon.pixmap(m_size);
    if (picture.isNull())
        return -1;
    QIcon copy;
    copy.addPixmap(picture);
    m_icons.append(copy);
    return static_cast<int>(m_icons.size()) - 1;
}

QIcon ImageList::At(int index) const {
    if (index < 0 || index >= m_icons.size())
        return QIcon();
    return m_icons[index];
}

QIcon IconFromSvg(const QString& resourcePath, QSize size) {
    QSvgRenderer renderer(resourcePath);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    QIcon icon;
    icon.addPixmap(pixmap);
    return icon;
}

} // namespace vyp
