#include "scan/ListDifferencesCsv.h"

#include "lists/FolderRowsCsv.h"
#include "util/CsvWriter.h"

namespace vyp {

void AppendListDifferencesCsvHeader(std::string& out) {
    CsvWriter(out).Row({"Změna", "Cesta", "Velikost v bajtech 1", "Datum 1", "Čas 1",
                        "Velikost v bajtech 2", "Datum 2", "Čas 2"});
}

void AppendListDifferenceCsv(const ListDifferences& differences, size_t i, std::string& out) {
    const std::array<std::string_view, 7> texts = differences.Texts(i);
    CsvWriter(out).Row({DifferenceKindText(differences.Kind(i)), texts[0], CsvBytes(texts[1]),
                        texts[2], texts[3], CsvBytes(texts[4]), texts[5], texts[6]});
}

} // namespace vyp
