#include "ui/common/ShellFileTypeIcons.h"

#include "platform/WindowsShell.h"

#include <QImage>
#include <QPixmap>

#include <cstring>

namespace vyp {

QIcon ShellFileTypeIcons::IconForExtension(const QString& extension) {
    RgbaPicture picture;
    if (!ShellSmallIconOfExtension(extension.toStdString(), picture) || picture.width <= 0)
        return QIcon();
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y),
                    picture.pixels.data() + static_cast<size_t>(y) * picture.width,
                    static_cast<size_t>(picture.width) * sizeof(uint32_t));
    QPixmap pixmap = QPixmap::fromImage(image);
    // A small icon is 16 pixels at 100 %; the system draws it larger on a denser screen.
    pixmap.setDevicePixelRatio(picture.width / 16.0);
    return QIcon(pixmap);
}

} // namespace vyp
