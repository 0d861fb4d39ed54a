// The rows of the search window's results table: the places the last search found, the names
// of the lists as they were when it ran, and each row's picture, answered to the FileTable
// column by column ("Seznam", "Soubor / složka", "Velikost", "Přesná velikost", "Datum", "Čas").
// The texts are read back from the list files when a row is painted (a few hundred rows kept),
// sorted or saved; a list changed since the search shows its rows with empty cells, and
// onListChanged hears of the first such list once per search.
#pragma once

#include "lists/RegionalSettings.h"
#include "search/SearchHitReader.h"
#include "search/SearchHits.h"
#include "ui/common/FileTable.h"

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vyp {

class ExtensionIconCache;
class NameCollator;

class FoundRows final : public FileTableRows {
public:
    enum Column { Seznam, SouborSlozka, Velikost, PresnaVelikost, Datum, Cas };

    FoundRows(ExtensionIconCache& icons, RegionalSettings regional);

    // The table's columns, as designed; "Soubor / složka" takes the remaining width.
    static std::vector<FileTableColumn> Columns();

    // Takes over the rows of a search; listNames are the names of the registry's lists by
    // index, ranked once by collator.
    void Assign(SearchHits&& hits, std::vector<std::string> listNames,
                const NameCollator& collator);

    const SearchHits& Hits() const { return m_hits; }
    size_t FileCount() const { return m_files; }
    size_t FolderCount() const { return m_hits.size() - m_files; }
    // The texts of a row read from its list into texts (one row); false, the texts empty, when
    // the list changed since the search.
    bool ReadRow(size_t row, SearchRows& texts) const;
    // The name of a row's list as the table shows it.
    std::string_view ListName(size_t row) const;

    // Hears of the first list found changed since the search, with its name.
    std::function<void(std::string_view listName)> onListChanged;

    size_t RowCount() const override { return m_hits.size(); }
    QString CellText(size_t row, int column) const override;
    int CellImage(size_t row, int column) const override;
    std::string_view SortName(size_t row, int column) const override;
    std::optional<int64_t> SortSize(size_t row, int column) const override;
    uint32_t SortRank(size_t row, int column) const override;
    void AppendCsvHeader(std::string& out) const override;
    void AppendCsvRow(size_t row, std::string& out) const override;
    void WithSortNames(
        int column, const RowsRead& rowsRead,
        const std::function<void(const std::vector<std::string_view>& names)>& use) const override;
    bool WithSortPaths(int column, const RowsRead& rowsRead,
                       const std::function<void(const FolderedPaths& paths)>& use) const override;
    bool RankPaths(int column, const NameCollator& collator, const RowsRead& rowsRead,
                   const std::function<void(double done)>& ranked,
                   std::vector<uint32_t>& ranks) const override;
    bool SortSizeKeys(int column, const RowsRead& rowsRead,
                      std::vector<uint64_t>& keys) const override;
    void AppendCsvRows(const std::vector<size_t>& rows, std::string& out) const override;
    void AfterSort() const override;

private:
    // A row's texts as last read; same is false when its list had changed.
    struct Kept {
        size_t row = SIZE_MAX;
        bool same = false;
        SearchRows texts;
    };
    const Kept& KeptRow(size_t row) const;
    // Whether a list's file still has the stamp the search saw.
    bool StillSame(int32_t list) const;
    bool Changed(int32_t list) const;
    void NoteChanged(int32_t list) const;
    // Reads hit row into texts, telling onListChanged of the first list that changed.
    bool Read(SearchHitReader& reader, size_t row, SearchRows& texts) const;
    void TellChange(size_t row) const;
    // What reading rows for a sort found changed: read in parts side by side, each part notes
    // its own, told on the window's thread after the sort.
    struct ChangesFound {
        std::vector<bool> changed;  // by list, starting from those known before
        std::vector<int32_t> lists; // found now
        size_t firstRow = SIZE_MAX;
        bool Changed(int32_t list) const;
        void Note(int32_t list, size_t row);
    };
    // Runs read(part, begin, end, changes) on parts of the rows side by side, each part's rows in
    // their order (which is each list's file order), and keeps what they found changed. Each
    // part but the first begins at a multiple of step.
    void ReadInParts(const std::function<void(size_t part, size_t begin, size_t end,
                                              ChangesFound& changes)>& read,
                     size_t parts, size_t step = 1) const;
    // Where part (of parts) begins; part == parts: the end of the rows.
    size_t PartBound(size_t part, size_t parts, size_t step = 1) const;

    ExtensionIconCache& m_icons;
    RegionalSettings m_regional;
    SearchHits m_hits;
    size_t m_files = 0;
    std::vector<std::string> m_listNames;
    std::vector<uint32_t> m_ranks; // of m_listNames, by the collation
    // The picture in ImgS of each extension found, as the cache gave it at the search: a few
    // entries, where a picture per row would cost 4 bytes of every row.
    std::map<std::string, int, std::less<>> m_extImages;
    mutable SearchHitReader m_reader{m_hits};
    mutable std::vector<Kept> m_kept; // the rows painted last, by row modulo their number
    mutable bool m_changeTold = false;
    mutable std::vector<bool> m_changed;      // by list: found changed since the search
    mutable size_t m_untoldChange = SIZE_MAX; // a row of a list a sort found changed
    mutable std::chrono::steady_clock::time_point m_lastLook;
    mutable int32_t m_lastLookedList = -1;
};

} // namespace vyp
