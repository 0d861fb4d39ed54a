#include "ui/find_u/FoundRows.h"

#include "lists/DisplayFormat.h"
#include "qtcore/NameCollator.h"
#include "qtcore/Utf8.h"
#include "search/SearchRowOrder.h"
#include "search/SearchRowsCsv.h"
#include "ui/Vypisnik_u/ExtensionIconCache.h"

namespace vyp {

FoundRows::FoundRows(ExtensionIconCache& icons, RegionalSettings regional)
    : m_icons(icons), m_regional(std::move(regional)) {}

std::vector<FileTableColumn> FoundRows::Columns() {
    return {{{QStringLiteral("Seznam"), 100, Qt::AlignLeft}, FileTableSort::Rank},
            {{QStringLiteral("Soubor / složka"), 200, Qt::AlignLeft}, FileTableSort::Name},
            {{QStringLiteral("Velikost"), 90, Qt::AlignRight}, FileTableSort::Size},
            {{QStringLiteral("Přesná velikost"), 90, Qt::AlignRight}, FileTableSort::Size},
            {{QStringLiteral("Datum"), 70, Qt::AlignLeft}, FileTableSort::None},
            {{QStringLiteral("Čas"), 70, Qt::AlignLeft}, FileTableSort::None}};
}

void FoundRows::Assign(SearchRows&& rows, std::vector<std::string> listNames,
                       const NameCollator& collator) {
    m_rows = std::move(rows);
    m_files = 0;
    m_listNames = std::move(listNames);
    m_ranks = RankListNames(m_listNames, [&collator](std::string_view a, std::string_view b) {
        return collator.Compare(a, b);
    });
    // The cache is asked once per spelling of an extension, not once per row: a search can
    // find millions of files of a handful of types.
    m_extImages.clear();
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].IsFolder())
            continue;
        ++m_files;
        const std::string_view ext = m_rows[row].Extension();
        if (m_extImages.find(ext) == m_extImages.end())
            m_extImages.emplace(std::string(ext), m_icons.ImageIndexForExt(ext));
    }
}

std::string_view FoundRows::ListName(size_t row) const {
    const auto list = static_cast<size_t>(m_rows[row].ListIndex());
    return list < m_listNames.size() ? std::string_view(m_listNames[list]) : std::string_view();
}

QString FoundRows::CellText(size_t row, int column) const {
    switch (static_cast<Column>(column)) {
    case Seznam:
        return Utf8(ListName(row));
    case SouborSlozka:
        return Utf8(m_rows[row].Path());
    case Velikost: {
        // A size that is no number (a damaged list) shows only in "Přesná velikost".
        const std::optional<int64_t> size = m_rows[row].Size();
        return size ? Utf8(FormatMB(*size, m_regional)) : QString();
    }
    case PresnaVelikost:
        return Utf8(FormatExactSize(m_rows[row].SizeText()));
    case Datum:
        return Utf8(m_rows[row].DateText());
    case Cas:
        return Utf8(m_rows[row].TimeText());
    }
    return {};
}

int FoundRows::CellImage(size_t row, int column) const {
    switch (static_cast<Column>(column)) {
    case Seznam:
        return ExtensionIconCache::kListPicture;
    case SouborSlozka: {
        if (m_rows[row].IsFolder())
            return ExtensionIconCache::kFolderPicture;
        const auto known = m_extImages.find(m_rows[row].Extension());
        return known != m_extImages.end() ? known->second : ExtensionIconCache::kBlankDocument;
    }
    case Velikost:
    case PresnaVelikost:
    case Datum:
    case Cas:
        return -1;
    }
    return -1;
}

std::string_view FoundRows::SortName(size_t row, int column) const {
    return column == Seznam ? ListName(row) : m_rows[row].Path();
}

std::optional<int64_t> FoundRows::SortSize(size_t row, int) const {
    return m_rows[row].Size();
}

uint32_t FoundRows::SortRank(size_t row, int) const {
    const auto list = static_cast<size_t>(m_rows[row].ListIndex());
    return list < m_ranks.size() ? m_ranks[list] : UINT32_MAX;
}

void FoundRows::AppendCsvHeader(std::string& out) const {
    AppendSearchRowsCsvHeader(out);
}

void FoundRows::AppendCsvRow(size_t row, std::string& out) const {
    // The list's name as the table shows it.
    AppendSearchRowCsv(m_rows[row], Utf8Bytes(CellText(row, Seznam)), m_regional, out);
}

} // namespace vyp
