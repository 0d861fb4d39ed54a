#include "ui/common/WindowGeometry.h"

#include "lists/SettingsFile.h"

#include <QApplication>
#include <QLayout>
#include <QSplitter>

#include <algorithm>

namespace vyp {

namespace {
// The frame the window system puts around a window, measured now (none before it is shown).
QMargins FrameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}
} // namespace

void SetOuterGeometry(QWidget* window, const QRect& outer) {
    const QMargins m = FrameMargins(window);
    window->resize(outer.width() - m.left() - m.right(), outer.height() - m.top() - m.bottom());
    window->move(outer.topLeft()); // a window's position is its frame's
}

WindowGeometry::WindowGeometry(QWidget* window, std::string section, Keys keys)
    : m_window(window), m_section(std::move(section)), m_keys(keys) {}

void WindowGeometry::DivideSplitter(int firstWidth) const {
    if (QLayout* layout = m_window->layout())
        layout->activate(); // the splitter must have its real width before it is divided
    m_splitter->setSizes(
        {firstWidth, std::max(0, m_splitter->width() - firstWidth - m_splitter->handleWidth())});
}

void WindowGeometry::Restore(const SettingsFile& settings) const {
    const char* section = m_section.c_str();
    int splitter = 0;
    if (m_splitter != nullptr) {
        splitter = settings.ReadInteger(section, "Splitter", m_splitter->sizes().value(0));
        DivideSplitter(splitter);
    }
    QRect outer = m_window->frameGeometry();
    outer.moveTop(settings.ReadInteger(section, "Top", outer.top()));
    SetOuterGeometry(m_window, outer);
    outer.moveLeft(settings.ReadInteger(section, "Left", outer.left()));
    SetOuterGeometry(m_window, outer);
    if (m_keys == Keys::PositionAndSize) {
        outer.setWidth(settings.ReadInteger(section, "Width", outer.width()));
        SetOuterGeometry(m_window, outer);
        outer.setHeight(settings.ReadInteger(section, "Heigth", outer.height()));
        SetOuterGeometry(m_window, outer);
    }
    if (m_splitter != nullptr) {
        QApplication::sendPostedEvents(m_window, QEvent::Resize);
        DivideSplitter(splitter); // a new window width must not take the first pane's with it
    }
}

void WindowGeometry::Save(std::vector<SettingsChange>& changes) const {
    const QRect outer = m_window->frameGeometry();
    const auto add = [&](const char* key, int value) {
        changes.push_back({m_section, key, value});
    };
    if (m_splitter != nullptr)
        add("Splitter", m_splitter->sizes().value(0));
    add("Top", outer.top());
    add("Left", outer.left());
    if (m_keys == Keys::PositionAndSize) {
        add("Width", outer.width());
        add("Heigth", outer.height());
    }
}

void WindowGeometryList::Register(WindowGeometry geometry) {
    const auto same = std::find_if(m_geometries.begin(), m_geometries.end(),
                                   [&](const WindowGeometry& registered) {
                                       return registered.Section() == geometry.Section();
                                   });
    if (geometry.Window() == nullptr) {
        if (same != m_geometries.end())
            m_geometries.erase(same);
    } else if (same != m_geometries.end()) {
        *same = std::move(geometry);
    } else {
        m_geometries.push_back(std::move(geometry));
    }
}

void WindowGeometryList::RestoreAll(const SettingsFile& settings) const {
    for (const WindowGeometry& geometry : m_geometries)
        geometry.Restore(settings);
}

void WindowGeometryList::SaveAll(SettingsFile& settings) const {
    std::vector<SettingsChange> changes;
    for (const WindowGeometry& geometry : m_geometries)
        geometry.Save(changes);
    settings.Write(changes);
}

} // namespace vyp
