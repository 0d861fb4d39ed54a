#include "WindowBench.h"

namespace vyp::bench {

BenchWindows::BenchWindows(const std::string& data, bool withProgress) {
    if (withProgress)
        m_progress = std::make_unique<TfProcess>();
    m_main =
        test::StartMainWindow({DataFolder(data), &m_walker, &m_icons, RegionalSettings::Czech(),
                               QLocale(QLocale::Czech, QLocale::CzechRepublic)},
                              m_progress.get());
}

TfFind& BenchWindows::OpenSearch() {
    m_find = test::OpenSearchWindow(*m_main);
    return *m_find;
}

TfNewList& BenchWindows::OpenNewList() {
    m_newList = test::AttachNewListWindow(*m_main);
    m_newList->show();
    QApplication::processEvents();
    return *m_newList;
}

TfDuplicates& BenchWindows::OpenDuplicates() {
    m_duplicates = test::AttachDuplicatesWindow(*m_main);
    m_duplicates->show();
    QApplication::processEvents();
    return *m_duplicates;
}

ListRegistry ListsIn(const std::string& data) {
    NativeDirectoryWalker walker;
    ListRegistry registry;
    FindLists(registry, data + "/Seznamy", "*.sez", data + "/settings.ini", walker);
    return registry;
}

} // namespace vyp::bench
