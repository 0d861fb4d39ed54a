#include "WindowBench.h"

namespace vyp::bench {

BenchWindows::BenchWindows(const std::string& data, bool withProgress) {
    if (withProgress)
        m_windows.progress = std::make_unique<TfProcess>();
    m_windows.main =
        test::StartMainWindow({DataFolder(data), &m_walker, &m_icons, RegionalSettings::Czech(),
                               QLocale(QLocale::Czech, QLocale::CzechRepublic)},
                              m_windows.progress.get());
}

TfFind& BenchWindows::OpenSearch() {
    m_windows.find = test::OpenSearchWindow(Main());
    return *m_windows.find;
}

TfNewList& BenchWindows::OpenNewList() {
    m_windows.newList = test::AttachNewListWindow(Main());
    m_windows.newList->show();
    QApplication::processEvents();
    return *m_windows.newList;
}

TfDuplicates& BenchWindows::OpenDuplicates() {
    m_windows.duplicates = test::AttachDuplicatesWindow(Main());
    m_windows.duplicates->show();
    QApplication::processEvents();
    return *m_windows.duplicates;
}

ListRegistry ListsIn(const std::string& data) {
    NativeDirectoryWalker walker;
    ListRegistry registry;
    FindLists(registry, data + "/Seznamy", "*.sez", data + "/settings.ini", walker);
    return registry;
}

} // namespace vyp::bench
