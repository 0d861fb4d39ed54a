// The lists a search read, each file as it was when the search read it, by list index: the
// search and duplicates windows show a hit only in a list that is still the same, and keep the
// lists' names for their rows until the next search, whatever happens to the registry meanwhile.
#pragma once

#include "platform/Files.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace vyp {

class FolderNavigator;
class SearchRow;
struct ListRegistry;

class SearchedLists {
public:
    // Notes every list of the registry as its file is now; called on the worker, just before
    // the search reads them.
    void Note(const ListRegistry& registry);
    // Shows the hit's folder through navigator, a file's name selected among its files. A
    // folder that no folder line holds is the root the list's header shows (the folder of the
    // root's files too). When the hit's list was deleted or changed since the search, tells the
    // user so over window, naming the list listName.
    void GoTo(const SearchRow& hit, FolderNavigator& navigator, QWidget* window,
              const QString& listName) const;

    // Tells the user over window that the list listName was deleted or changed since the search.
    static void TellChanged(QWidget* window, const QString& listName);

private:
    struct Searched {
        std::string path;
        std::optional<FileStamp> stamp;
    };
    std::vector<Searched> m_lists;
};

// The names of the registry's lists by index, as they are now.
std::vector<std::string> ListNames(const ListRegistry& registry);

} // namespace vyp
