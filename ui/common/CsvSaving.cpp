#include "ui/common/CsvSaving.h"

#include "qtcore/PathBytes.h"
#include "ui/common/SaveFilePicker.h"
#include "util/SafeFileWriter.h"

namespace vyp {

void SaveCsvAs(QWidget* parent, const QString& suggestedName,
               const std::function<void(std::string& out)>& writeRows) {
    const std::optional<QString> path =
        SaveFilePicker::Pick(parent, {QStringLiteral("Uložit jako CSV"), suggestedName,
                                      QStringLiteral("Soubory CSV (*.csv)")});
    if (!path)
        return;
    std::string out;
    writeRows(out);
    WriteFileSafely(CorePath(*path), out);
}

} // namespace vyp
