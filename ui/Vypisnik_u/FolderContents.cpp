#include "ui/Vypisnik_u/FolderContents.h"

#include "lists/DisplayFormat.h"
#include "lists/FolderRowsCsv.h"
#include "qtcore/Utf8.h"
#include "ui/Vypisnik_u/ExtensionIconCache.h"

namespace vyp {

FolderContents::FolderContents(ExtensionIconCache& icons, RegionalSettings regional)
    : m_icons(icons), m_regional(std::move(regional)) {}

std::vector<FileTableColumn> FolderContents::Columns() {
    return {{{QStringLiteral("Soubor"), 250, Qt::AlignLeft}, FileTableSort::Name},
            {{QStringLiteral("Velikost"), 70, Qt::AlignRight}, FileTableSort::Size},
            {{QStringLiteral("Přesná velikost"), 90, Qt::AlignRight}, FileTableSort::Size},
            {{QStringLiteral("Datum"), 70, Qt::AlignLeft}, FileTableSort::None},
            {{QStringLiteral("Čas"), 70, Qt::AlignLeft}, FileTableSort::None}};
}

std::string FolderContents::Read(const std::string& listPath, std::string_view folderPath,
                                 const FolderLineHint* hint) {
    FolderRows rows = hint != nullptr ? FolderRows::Read(listPath, folderPath, *hint)
                                      : FolderRows::Read(listPath, folderPath);
    std::string error = rows.Error();
    // A file that cannot be read, or a folder that is not in it, leaves the table empty.
    m_rows = error.empty() || rows.Count() > 0 ? std::move(rows) : FolderRows();
    m_images.assign(m_rows.Count(), -1);
    for (size_t i = 0; i < m_rows.Count(); ++i)
        m_images[i] = m_icons.ImageIndexForExt(m_rows.Extension(i));
    return error;
}

QString FolderContents::CellText(size_t row, int column) const {
    switch (static_cast<Column>(column)) {
    case Soubor:
        return Utf8(m_rows.Caption(row));
    case Velikost:
        return Utf8(FormatMB(m_rows.Size(row), m_regional));
    case PresnaVelikost:
        return Utf8(FormatExactSize(m_rows.SizeText(row)));
    case Datum:
        return Utf8(m_rows.DateText(row));
    case Cas:
        return Utf8(m_rows.TimeText(row));
    }
    return {};
}

int FolderContents::CellImage(size_t row, int column) const {
    return column == Soubor ? m_images[row] : -1;
}

std::string_view FolderContents::SortName(size_t row, int) const {
    return m_rows.Caption(row);
}

std::optional<int64_t> FolderContents::SortSize(size_t row, int) const {
    return m_rows.Size(row);
}

void FolderContents::AppendCsvHeader(std::string& out) const {
    AppendFolderRowsCsvHeader(out);
}

void FolderContents::AppendCsvRow(size_t row, std::string& out) const {
    AppendFolderRowCsv(m_rows, row, m_regional, out);
}

} // namespace vyp
