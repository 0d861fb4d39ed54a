#include "ui/common/SearchedLists.h"

#include "lists/ListRegistry.h"
#include "search/ListSearch.h"
#include "search/SearchRow.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FolderNavigator.h"

namespace vyp {

namespace {

std::optional<FileStamp> StampOf(const std::string& path) {
    InputFile file;
    FileStamp stamp;
    if (file.Open(path, false) != 0 || file.Stamp(stamp) != 0)
        return std::nullopt;
    return stamp;
}

} // namespace

void SearchedLists::Note(const ListRegistry& registry) {
    m_lists.clear();
    for (const rsznListInfo& info : registry.ListInfos)
        m_lists.push_back({info.FullPath, StampOf(info.FullPath)});
}

void SearchedLists::GoTo(const SearchRow& hit, FolderNavigator& navigator, QWidget* window,
                         const QString& listName) const {
    const auto list = static_cast<size_t>(hit.ListIndex());
    bool shown = false;
    if (list < m_lists.size()) {
        const Searched& searched = m_lists[list];
        const std::optional<FileStamp> stamp = StampOf(searched.path);
        if (stamp && stamp == searched.stamp) {
            const std::string_view path = hit.Path();
            const std::string_view folder =
                hit.IsFolder() ? path : path.substr(0, path.size() - hit.Name().size());
            const std::string_view file = hit.IsFolder() ? std::string_view() : hit.Name();
            shown = navigator.GoToFolder(searched.path, folder, file) ||
                    navigator.GoToFolder(searched.path, {}, file);
        }
    }
    if (!shown)
        TellChanged(window, listName);
}

void SearchedLists::TellChanged(QWidget* window, const QString& listName) {
    Dialogs::Inform(window, QStringLiteral("Seznam „%1“ byl od hledání smazán nebo změněn.\r\n"
                                           "Obnovte seznamy a hledejte znovu.")
                                .arg(listName));
}

std::vector<std::string> ListNames(const ListRegistry& registry) {
    std::vector<std::string> names;
    names.reserve(registry.ListInfos.size());
    for (const rsznListInfo& info : registry.ListInfos)
        names.push_back(ListNameOf(info));
    return names;
}

} // namespace vyp
