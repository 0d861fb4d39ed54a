#include "TestSupport.h"

#include "lists/FolderRowsCsv.h"
#include "search/SearchRowsCsv.h"
#include "util/CsvWriter.h"

#include <gtest/gtest.h>

namespace vyp {
namespace {

TEST(CsvWriter, QuotesOnlyWhatMustBeQuotedAndEndsRowsWithCrLf) {
    std::string out;
    CsvWriter csv(out);
    csv.Row({"Soubor", "Velikost v bajtech"});
    csv.Row({"Kino, \"Группа крови\".mp3", "4400000"});
    csv.Row({"dva\r\nřádky", "poslední\nřádek\r", ""});
    csv.Row({"東京 タワー.tar.gz", "-5", "\"\""});
    EXPECT_EQ(out, "Soubor,Velikost v bajtech\r\n"
                   "\"Kino, \"\"Группа крови\"\".mp3\",4400000\r\n"
                   "\"dva\r\nřádky\",\"poslední\nřádek\r\",\r\n"
                   "東京 タワー.tar.gz,-5,\"\"\"\"\"\"\r\n");
}

TEST(CsvWriter, FolderRowsGiveTheTablesColumnsAndTheBytes) {
    test::TempDir dir;
    const std::string list = dir / "Fotky.sez";
    test::WriteFile(list, "/media/cdrom/\t3000012\r\n"
                          "Fotky z Brna\\\t3000012\t2023.9.2\t10:0.0\r\n"
                          "Špilberk, západ \"2\".JPG\t3000000\t2023.9.1\t19:30.0\r\n"
                          "Über.uns.txt\t12\t2023.9.1\t7:5.58\r\n");
    const FolderRows rows = FolderRows::Read(list, "Fotky z Brna\\");
    ASSERT_EQ(rows.Error(), "");
    std::string out;
    AppendFolderRowsCsvHeader(out);
    for (size_t i = 0; i < rows.Count(); ++i)
        AppendFolderRowCsv(rows, i, RegionalSettings::Czech(), out);
    EXPECT_EQ(out, "Soubor,Velikost,Přesná velikost,Datum,Čas,Velikost v bajtech\r\n"
                   "\"Špilberk, západ \"\"2\"\".JPG\",\"2,86 MB\",3000000 B,2023.9.1,19:30:0,"
                   "3000000\r\n"
                   "Über.uns.txt,\"0,00 MB\",12 B,2023.9.1,7:5:58,12\r\n");
}

TEST(CsvWriter, SearchRowsKeepASizeThatIsNoNumberAsItStands) {
    SearchRows rows;
    rows.Add(0, true, "", "Музыка\\", "4400000", "2022.1.5", "20:15.4");
    rows.Add(0, false, "Музыка\\", "Кино, Группа крови.mp3", "44x", "2022.1.5", "20:15.4");
    std::string out;
    AppendSearchRowsCsvHeader(out);
    for (const SearchRow row : rows)
        AppendSearchRowCsv(row, "Hudba", RegionalSettings::English(), out);
    EXPECT_EQ(out,
              "Seznam,Soubor / složka,Velikost,Přesná velikost,Datum,Čas,Velikost v bajtech\r\n"
              "Hudba,Музыка\\,4.20 MB,4400000 B,2022.1.5,20:15:4,4400000\r\n"
              "Hudba,\"Музыка\\Кино, Группа крови.mp3\",,44x B,2022.1.5,20:15:4,\r\n");
}

} // namespace
} // namespace vyp
