// The rows of the comparison window's table: the differences of two lists, those of the kinds
// the filter buttons let through, answered to the FileTable column by column ("Změna", "Cesta",
// then size, date and time of each list) and as the comparison's CSV. A row is the number of a
// difference, 4 bytes.
#pragma once

#include "scan/ListDifferences.h"
#include "ui/common/FileTable.h"

#include <array>
#include <vector>

namespace vyp {

class DifferenceRows final : public FileTableRows {
public:
    enum Column { Zmena, Cesta, Velikost1, Datum1, Cas1, Velikost2, Datum2, Cas2 };
    // The pictures of the kinds, in the table's image list, by kind.
    static constexpr int kKindPictures = 3;

    static std::vector<FileTableColumn> Columns();

    // Takes over the differences; every kind is shown.
    void Assign(ListDifferences&& differences);
    // Shows or hides the differences of kind.
    void ShowKind(DifferenceKind kind, bool shown);
    bool KindShown(DifferenceKind kind) const { return m_shown[static_cast<size_t>(kind)]; }

    const ListDifferences& Differences() const { return m_differences; }
    // The difference a row shows.
    size_t DifferenceOf(size_t row) const { return m_rows[row]; }

    size_t RowCount() const override { return m_rows.size(); }
    QString CellText(size_t row, int column) const override;
    int CellImage(size_t row, int column) const override;
    std::string_view SortName(size_t row, int column) const override;
    std::optional<int64_t> SortSize(size_t row, int column) const override;
    uint32_t SortRank(size_t row, int column) const override;
    void AppendCsvHeader(std::string& out) const override;
    void AppendCsvRow(size_t row, std::string& out) const override;

private:
    void Filter();

    ListDifferences m_differences;
    std::array<bool, 3> m_shown{true, true, true};
    std::vector<uint32_t> m_rows; // the differences shown, in their order
};

} // namespace vyp
