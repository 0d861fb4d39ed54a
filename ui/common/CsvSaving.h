// The one way the windows save a table as CSV: ask where ("Uložit jako CSV", offering a name),
// then write what the table makes of its rows there, replacing the file safely. A cancel writes
// nothing; a file that cannot be written is thrown as the error it is.
#pragma once

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace vyp {

void SaveCsvAs(QWidget* parent, const QString& suggestedName,
               const std::function<void(std::string& out)>& writeRows);

} // namespace vyp
