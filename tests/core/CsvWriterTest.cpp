#include "TestSupport.h"

#include "lists/FolderRowsCsv.h"
#include "search/SearchRowsCsv.h"
#include "util/CsvWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

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

TEST(CsvWriter, ASpecialByteIsSeenWhereverItStandsInAFieldOfAnyLength) {
    // Fields are looked at in words and registers whose last one overlaps the one before: a
    // comma in any place of any length must be seen, and letters of many bytes never mistaken.
    const std::string letters = "Příliš žluťoučký kůň Ärger œuvre Ёлка 東京.txt";
    for (size_t length = 1; length <= 40; ++length) {
        const std::string plain = letters.substr(0, length);
        std::string out;
        CsvWriter::AppendField(plain, out);
        EXPECT_EQ(out, plain) << length;
        for (size_t at = 0; at < length; ++at) {
            for (const char special : {',', '"', '\r', '\n'}) {
                std::string field = plain;
                field[at] = special;
                std::string expected = "\"";
                for (const char c : field)
                    expected += c == '"' ? std::string("\"\"") : std::string(1, c);
                expected += '"';
                out.clear();
                CsvWriter::AppendField(field, out);
                EXPECT_EQ(out, expected) << length << " " << at;
                // The same field made in place after a row's earlier cells.
                out = "Disk 1,";
                out += field;
                CsvWriter::QuoteFieldFrom(7, out);
                EXPECT_EQ(out, "Disk 1," + expected) << length << " " << at;
            }
        }
    }
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

// A row made in place is the row of its cells: sizes with a sign, leading zeros, out of range or
// no number, texts that need quotes before and after their sixteenth byte, a decimal comma.
TEST(CsvWriter, SearchRowsAreTheRowsOfTheirCells) {
    SearchRows rows;
    const std::vector<std::string> sizes = {"0",
                                            "-0",
                                            "+5",
                                            "007",
                                            "-12",
                                            "1048576",
                                            "",
                                            "-",
                                            "5,5",
                                            "1\"",
                                            "9223372036854775807",
                                            "-9223372036854775808",
                                            "9223372036854775808",
                                            "123456789012345678",
                                            "-000"};
    const std::vector<std::string> names = {
        "plain.txt", "Žluťoučký kůň, úpěl.mp3", "Dlouhé jméno bez čárky až sem, pak ano.avi",
        "\"uvozovky\".doc", "Dlouhé jméno bez uvozovek až za šestnáct\".doc"};
    for (size_t i = 0; i < sizes.size(); ++i)
        rows.Add(0, i % 3 == 0, "Složka\\", names[i % names.size()], sizes[i], "2022.1.5",
                 "20:15.4");
    rows.Add(0, false, "", "a,b", "1", "2022,1", "20,15");
    rows.Add(0, false, "Hudba, staré\\", "Ärger.mp3", "1", "2022.1.5", "20:15.4");
    for (const RegionalSettings& regional :
         {RegionalSettings::Czech(), RegionalSettings::English()}) {
        for (const std::string_view listName : {"Disk, 1", "Disk 1"}) {
            for (const SearchRow row : rows) {
                std::string made = "předchozí řádek\r\n";
                AppendSearchRowCsv(row, listName, regional, made);
                const std::array<std::string, 7> cells = SearchRowCsvCells(row, listName, regional);
                std::string expected = "předchozí řádek\r\n";
                CsvWriter(expected).Row(
                    {cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6]});
                EXPECT_EQ(made, expected) << row.SizeText() << " " << listName;
            }
        }
    }
}

// A found line's texts lie side by side in the line, and are looked at together: a comma or
// quote in any one of them still quotes that one, and a line without any quotes none.
TEST(CsvWriter, TextsOfOneFoundLineAreQuotedEachAsItNeeds) {
    const std::vector<std::array<std::string, 4>> lines = {
        {"Žluťoučký kůň.mp3", "4400000", "2022.1.5", "20:15.4"},
        {"Kino, Группа крови.mp3", "4400000", "2022.1.5", "20:15.4"},
        {"東京.txt", "44,0", "2022.1.5", "20:15.4"},
        {"Élan \"vital\".doc", "12", "2022.1.5", "20:15.4"},
        {"Ёлка.avi", "12", "2022,1,5", "20:15.4"},
        {"Ёлка.avi", "12", "2022.1.5", "20,15"},
        {"Ёлка.avi", "", "", ""}};
    for (const auto& fields : lines) {
        const std::string line =
            fields[0] + "\t" + fields[1] + "\t" + fields[2] + "\t" + fields[3] + "\r\n";
        const char* at = line.data();
        auto next = [&at](size_t length) {
            const std::string_view text(at, length);
            at += length + 1;
            return text;
        };
        SearchRowTexts row;
        row.folder = "Hudba\\";
        row.name = next(fields[0].size());
        row.size = next(fields[1].size());
        row.date = next(fields[2].size());
        row.time = next(fields[3].size());
        SearchRows rows;
        rows.Add(0, false, "Hudba\\", fields[0], fields[1], fields[2], fields[3]);
        const std::array<std::string, 7> cells =
            SearchRowCsvCells(*rows.begin(), "Disk 1", RegionalSettings::Czech());
        std::string expected;
        CsvWriter(expected).Row(
            {cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6]});
        std::string made;
        AppendSearchRowCsv(row, "Disk 1", RegionalSettings::Czech(), made);
        EXPECT_EQ(made, expected) << fields[0];
    }
}

} // namespace
} // namespace vyp
