#include "ui/compare_u/DifferenceRows.h"

#include "lists/DisplayFormat.h"
#include "lists/SizeText.h"
#include "qtcore/Utf8.h"
#include "scan/ListDifferencesCsv.h"

namespace vyp {

namespace {
ListDifferences::Side SideOf(int column) {
    return column >= DifferenceRows::Velikost2 ? ListDifferences::Second : ListDifferences::First;
}
} // namespace

std::vector<FileTableColumn> DifferenceRows::Columns() {
    return {{{QStringLiteral("Změna"), 110, Qt::AlignLeft}, FileTableSort::Rank},
            {{QStringLiteral("Cesta"), 260, Qt::AlignLeft}, FileTableSort::Name},
            {{QStringLiteral("Velikost 1"), 95, Qt::AlignRight}, FileTableSort::Size},
            {{QStringLiteral("Datum 1"), 70, Qt::AlignLeft}, FileTableSort::None},
            {{QStringLiteral("Čas 1"), 60, Qt::AlignLeft}, FileTableSort::None},
            {{QStringLiteral("Velikost 2"), 95, Qt::AlignRight}, FileTableSort::Size},
            {{QStringLiteral("Datum 2"), 70, Qt::AlignLeft}, FileTableSort::None},
            {{QStringLiteral("Čas 2"), 60, Qt::AlignLeft}, FileTableSort::None}};
}

void DifferenceRows::Assign(ListDifferences&& differences) {
    m_differences = std::move(differences);
    m_shown = {true, true, true};
    Filter();
}

void DifferenceRows::ShowKind(DifferenceKind kind, bool shown) {
    m_shown[static_cast<size_t>(kind)] = shown;
    Filter();
}

void DifferenceRows::Filter() {
    // Written in place into room for every difference, then cut: millions of rows are filtered
    // on the window's thread.
    const size_t count = m_differences.Count();
    m_rows.resize(count);
    size_t shown = 0;
    for (size_t i = 0; i < count; ++i) {
        m_rows[shown] = static_cast<uint32_t>(i);
        shown += m_shown[static_cast<size_t>(m_differences.Kind(i))] ? 1 : 0;
    }
    m_rows.resize(shown);
    m_rows.shrink_to_fit();
}

QString DifferenceRows::CellText(size_t row, int column) const {
    const size_t i = m_rows[row];
    const ListDifferences::Side side = SideOf(column);
    switch (static_cast<Column>(column)) {
    case Zmena:
        return Utf8(DifferenceKindText(m_differences.Kind(i)));
    case Cesta:
        return Utf8(m_differences.Path(i));
    case Velikost1:
    case Velikost2: {
        // Exact: a file changed by a few bytes must not show the same size twice.
        const std::string_view size = m_differences.SizeText(i, side);
        return size.empty() ? QString() : Utf8(FormatExactSize(size));
    }
    case Datum1:
    case Datum2:
        return Utf8(m_differences.DateText(i, side));
    case Cas1:
    case Cas2:
        return Utf8(m_differences.TimeText(i, side));
    }
    return {};
}

int DifferenceRows::CellImage(size_t row, int column) const {
    return column == Zmena ? static_cast<int>(m_differences.Kind(m_rows[row])) : -1;
}

std::string_view DifferenceRows::SortName(size_t row, int) const {
    return m_differences.Path(m_rows[row]);
}

std::optional<int64_t> DifferenceRows::SortSize(size_t row, int column) const {
    return TryParseSizeText(m_differences.SizeText(m_rows[row], SideOf(column)));
}

uint32_t DifferenceRows::SortRank(size_t row, int) const {
    return static_cast<uint32_t>(m_differences.Kind(m_rows[row]));
}

void DifferenceRows::AppendCsvHeader(std::string& out) const {
    AppendListDifferencesCsvHeader(out);
}

void DifferenceRows::AppendCsvRow(size_t row, std::string& out) const {
    AppendListDifferenceCsv(m_differences, m_rows[row], out);
}

} // namespace vyp
