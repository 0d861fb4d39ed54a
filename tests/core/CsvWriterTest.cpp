#include "lists/CsvWriter.h"

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

} // namespace
} // namespace vyp
