// The rows of the search window's results table: the rows of the last search, the names
// of the lists as they were when it ran, and each row's picture, answered to the FileTable
// column by column ("Seznam", "Soubor / složka", "Velikost", "Přesná velikost", "Datum", "Čas").
#pragma once

#include "lists/RegionalSettings.h"
#include "search/SearchRow.h"
#include "ui/common/FileTable.h"

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
    void Assign(SearchRows&& rows, std::vector<std::string> listNames,
                const NameCollator& collator);

    const SearchRows& Rows() const { return m_rows; }
    size_t FileCount() const { return m_files; }
    size_t FolderCount() const { return m_rows.size() - m_files; }

    size_t RowCount() const override { return m_rows.size(); }
    QString CellText(size_t row, int column) const override;
    int CellImage(size_t row, int column) const override;
    std::string_view SortName(size_t row, int column) const override;
    std::optional<int64_t> SortSize(size_t row, int column) const override;
    uint32_t SortRank(size_t row, int column) const override;
    void AppendCsvHeader(std::string& out) const override;
    void AppendCsvRow(size_t row, std::string& out) const override;

private:
    std::string_view ListName(size_t row) const;

    ExtensionIconCache& m_icons;
    RegionalSettings m_regional;
    SearchRows m_rows;
    size_t m_files = 0;
    std::vector<std::string> m_listNames;
    std::vector<uint32_t> m_ranks; // of m_listNames, by the collation
    // The picture in ImgS of each extension found, as the cache gave it at the search: a few
    // entries, where a picture per row would cost 4 bytes of every row.
    std::map<std::string, int, std::less<>> m_extImages;
};

} // namespace vyp
