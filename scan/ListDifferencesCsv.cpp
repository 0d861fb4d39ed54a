#include "scan/ListDifferencesCsv.h"

#include "lists/FolderRowsCsv.h"
#include "util/CsvWriter.h"

namespace vyp {

void AppendListDifferencesCsvHeader(std::string& out) {
    CsvWriter(out).Row({"Změna", "Cesta", "Velikost v bajtech 1", "Datum 1", "Čas 1",
                        "Velikost v bajtech 2", "Datum 2", "Čas 2"});
}

void AppendListDifferenceCsv(const ListDifferences& differences, size_t i, std::string& out) {
    constexpr auto kFirst = ListDifferences::First;
    constexpr auto kSecond = ListDifferences::Second;
    CsvWriter(out).Row({DifferenceKindText(differences.Kind(i)), differences.Path(i),
                        CsvBytes(differences.SizeText(i, kFirst)), differences.DateText(i, kFirst),
                        differences.TimeText(i, kFirst), CsvBytes(differences.SizeText(i, kSecond)),
                        differences.DateText(i, kSecond), differences.TimeText(i, kSecond)});
}

} // namespace vyp
