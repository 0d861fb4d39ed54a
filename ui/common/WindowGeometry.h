// The saved place of one window in "settings.ini": its own section, its outer bounds. Restoring
// reads each value with the window's current value as the default and applies it at once, in
// the stored order (Top, Left, then Width and "Heigth" where the size is kept); saving gives
// the same keys in the same order. The main window keeps one per window; the keys of all of
// them go into the file in one write, so a close beside another writer keeps both.
#pragma once

#include <string>
#include <vector>

class QRect;
class QSplitter;
class QWidget;

namespace vyp {

class SettingsFile;
struct SettingsChange;

class WindowGeometry {
public:
    enum class Keys { Position, PositionAndSize };

    WindowGeometry(QWidget* window, std::string section, Keys keys);

    // A splitter whose first pane's width is kept under "Splitter", before the bounds; it keeps
    // that width when the window's own width is restored.
    void KeepSplitter(QSplitter* splitter) { m_splitter = splitter; }

    void Restore(const SettingsFile& settings) const;
    // Adds the window's keys with their current values to changes.
    void Save(std::vector<SettingsChange>& changes) const;

    QWidget* Window() const { return m_window; }
    const std::string& Section() const { return m_section; }

private:
    void DivideSplitter(int firstWidth) const;

    QWidget* m_window;
    std::string m_section;
    Keys m_keys;
    QSplitter* m_splitter = nullptr;
};

// The saved places of several windows, restored and saved in the order they were registered.
class WindowGeometryList {
public:
    // Adds geometry, or puts it in the place of one registered before for the same section; a
    // geometry without a window takes that one away, so its keys stay as they are.
    void Register(WindowGeometry geometry);
    void RestoreAll(const SettingsFile& settings) const;
    // Writes the keys of every window in one write; throws as SettingsFile::Write does, with
    // none of them written.
    void SaveAll(SettingsFile& settings) const;

private:
    std::vector<WindowGeometry> m_geometries;
};

// Places a window by its outer bounds, as they are stored.
void SetOuterGeometry(QWidget* window, const QRect& outer);

} // namespace vyp
