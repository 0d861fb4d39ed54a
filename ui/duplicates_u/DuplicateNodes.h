// What the duplicates window's tree shows: the duplicate sets of the last search, each a node
// ("N×  name  size", the count and the wasted size in columns of their own), its copies below it
// (path, list, size, date, time and the file type's picture). A node's payload says which it
// is, so the tree holds no record per node; the names of the lists are kept as they were when
// the search ran.
#pragma once

#include "lists/RegionalSettings.h"
#include "search/DuplicateSearch.h"
#include "ui/common/TreeGridModel.h"

#include <QString>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vyp {

class ExtensionIconCache;
class NameCollator;

class DuplicateNodes {
public:
    enum Column { Soubor, Pocet, Zbytecne, Seznam, Velikost, Datum, Cas };

    DuplicateNodes(ExtensionIconCache& icons, RegionalSettings regional);

    static std::vector<TreeGridColumn> Columns();

    // Takes over a search's result; listNames are the registry's list names by index.
    void Assign(DuplicateResult&& result, std::vector<std::string> listNames);
    const DuplicateResult& Result() const { return m_result; }

    static uint64_t SetPayload(size_t set) { return set; }
    static uint64_t CopyPayload(size_t copy) { return kCopy | copy; }
    static bool IsCopy(uint64_t payload) { return (payload & kCopy) != 0; }
    static size_t IndexOf(uint64_t payload) { return static_cast<size_t>(payload & ~kCopy); }

    QString Text(uint64_t payload, int column) const;
    int Image(uint64_t payload, int column) const;
    // Sets by the column's value (names by collator, counts and sizes as numbers); copies keep
    // their order, the order of their lists and lines.
    int Compare(uint64_t a, uint64_t b, int column, const NameCollator& collator) const;
    // The CSV lines of one set's copies, numbered setNumber.
    void AppendSetCsv(size_t setNumber, size_t set, std::string& out) const;
    std::string_view ListName(const SearchRow& copy) const;

    // "Sad: N" and "Zbytečně zabráno: X".
    QString SetCountText() const;
    QString WastedText() const;

private:
    static constexpr uint64_t kCopy = uint64_t{1} << 63;

    ExtensionIconCache& m_icons;
    RegionalSettings m_regional;
    DuplicateResult m_result;
    std::vector<std::string> m_listNames;
    // The picture of each extension found, asked of the cache once per spelling.
    std::map<std::string, int, std::less<>> m_extImages;
};

} // namespace vyp
