#include "lists/DataFolder.h"

#include <gtest/gtest.h>

namespace vyp {
namespace {

TEST(ListNameProblem, NamesSettingsCannotKeepAreRefusedOthersPass) {
    for (const char* name : {"Hry 2.0", "Příliš žluťoučký kůň", "Straße; Fotos", "Фото 東京",
                             "Élève (1)", "a;b", ".skryté"})
        EXPECT_EQ(ListNameProblem(name), std::nullopt) << name;
    const std::string settingsMessage = "Název seznamu nesmí obsahovat znaky = [ ] ani začínat "
                                        "středníkem a nesmí začínat ani končit mezerou.";
    for (const char* name : {"[fLV]", "Hry=2", "Záloha ]", "x[1", ";Hudba", " Filmy", "Filmy "})
        EXPECT_EQ(ListNameProblem(name), settingsMessage) << name;
    EXPECT_EQ(ListNameProblem("Fotky \xE8\x65rven"),
              "Název seznamu není platný text v kódování UTF-8.");
    EXPECT_NE(ListNameProblem("a\r\n[fLV]"), std::nullopt);
    EXPECT_NE(ListNameProblem("../ven"), std::nullopt);
}

} // namespace
} // namespace vyp
