#include "ui/common/DesktopLook.h"

#include <QPalette>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

namespace vyp {

void DesktopLook::ApplyToWindow(QWidget& window) {
    window.setBackgroundRole(QPalette::Button);
    window.setAutoFillBackground(true);
    window.setFont(Font());
}

void DesktopLook::ApplyToSideWindow(QWidget& window, const QString& objectName,
                                    const QString& title) {
    window.setObjectName(objectName);
    window.setWindowTitle(title);
    ApplyToWindow(window);
    window.setAttribute(Qt::WA_QuitOnClose, false);
}

QVBoxLayout* DesktopLook::Column(QWidget& widget) {
    auto* layout = new QVBoxLayout(&widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

void DesktopLook::OnButtonFace(QWidget& control) {
    QPalette colours = control.palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    control.setPalette(colours);
}

QFont DesktopLook::Font(int pixels) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Nimbus Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

} // namespace vyp
