// The rows of the main window's file table: the files of the selected list or folder, read
// from the list file, with their pictures, answered to the FileTable column by column
// ("Soubor", "Velikost", "Přesná velikost", "Datum", "Čas"). The one place the file table
// reads a list file.
#pragma once

#include "lists/FolderRows.h"
#include "lists/RegionalSettings.h"
#include "ui/common/FileTable.h"

#include <string>
#include <vector>

namespace vyp {

class ExtensionIconCache;

class FolderContents final : public FileTableRows {
public:
    enum Column { Soubor, Velikost, PresnaVelikost, Datum, Cas };

    FolderContents(ExtensionIconCache& icons, RegionalSettings regional);

    // The table's columns, as designed; "Soubor" takes the remaining width.
    static std::vector<FileTableColumn> Columns();

    // Reads the files of folderPath (bytes as stored; empty: the list's root) in the list file
    // listPath. A file that cannot be read, or a folder that is not in it, leaves no rows; a
    // fill that ended early keeps the rows before it. Returns the error, empty when complete.
    // hint, when given, says where the folder's line lay when the tree was built.
    std::string Read(const std::string& listPath, std::string_view folderPath,
                     const FolderLineHint* hint = nullptr);

    const FolderRows& Rows() const { return m_rows; }

    size_t RowCount() const override { return m_rows.Count(); }
    QString CellText(size_t row, int column) const override;
    int CellImage(size_t row, int column) const override;
    std::string_view SortName(size_t row, int column) const override;
    std::optional<int64_t> SortSize(size_t row, int column) const override;
    void AppendCsvHeader(std::string& out) const override;
    void AppendCsvRow(size_t row, std::string& out) const override;

private:
    ExtensionIconCache& m_icons;
    RegionalSettings m_regional;
    FolderRows m_rows;
    std::vector<int> m_images; // the picture of each row
};

} // namespace vyp
