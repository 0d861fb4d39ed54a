#include "TestSupport.h"

#include "lists/ListAndGroup.h"
#include "lists/SettingsFile.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vyp {
namespace {

// A data folder with two lists, each with its group.
class ListAndGroup : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(test::FsPath(m_data.ListFolder()));
        test::WriteFile(List("Záloha Straße"), "E:\\\t0\r\n");
        test::WriteFile(List("Фильмы"), "F:\\\t0\r\n");
        test::WriteFile(m_data.SettingsPath(), m_settings);
    }
    std::string List(const std::string& name) { return m_data.ListFilePath(name); }

    test::TempDir m_dir;
    DataFolder m_data{m_dir.Path()};
    const std::string m_settings =
        "[fLV]\r\nTop=5\r\n[Seznamy]\r\nZáloha Straße.sez=3\r\nФильмы.sez=4\r\n";
};

TEST_F(ListAndGroup, DeletingRemovesTheListAndItsEntryOrNeither) {
    DeleteListAndGroup(m_data, List("Záloha Straße"), "Záloha Straße.sez");
    EXPECT_FALSE(std::filesystem::exists(test::FsPath(List("Záloha Straße"))));
    EXPECT_EQ(test::ReadFile(m_data.SettingsPath()),
              "[fLV]\r\nTop=5\r\n[Seznamy]\r\nФильмы.sez=4\r\n");

    // A list file that is gone already takes its entry with it.
    std::filesystem::remove(test::FsPath(List("Фильмы")));
    DeleteListAndGroup(m_data, List("Фильмы"), "Фильмы.sez");
    EXPECT_EQ(test::ReadFile(m_data.SettingsPath()), "[fLV]\r\nTop=5\r\n[Seznamy]\r\n");

    // One that cannot be removed keeps its entry.
    std::filesystem::create_directories(test::FsPath(List("Hry 2.0") + "/uvnitř"));
    SettingsFile(m_data.SettingsPath()).WriteInteger("Seznamy", "Hry 2.0.sez", 2);
    const std::string settings = test::ReadFile(m_data.SettingsPath());
    try {
        DeleteListAndGroup(m_data, List("Hry 2.0"), "Hry 2.0.sez");
        FAIL() << "no error";
    } catch (const VypisnikError& error) {
        EXPECT_TRUE(std::string(error.what())
                        .starts_with("Seznam se nepodařilo smazat: \"" + List("Hry 2.0") + "\". "))
            << error.what();
    }
    EXPECT_EQ(test::ReadFile(m_data.SettingsPath()), settings);
}

TEST_F(ListAndGroup, RegroupingAListDeletedMeanwhileWritesNothing) {
    MoveListToGroup(m_data, List("Фильмы"), "Фильмы.sez", 7);
    EXPECT_EQ(test::ReadFile(m_data.SettingsPath()),
              "[fLV]\r\nTop=5\r\n[Seznamy]\r\nZáloha Straße.sez=3\r\nФильмы.sez=7\r\n");
    std::filesystem::remove(test::FsPath(List("Záloha Straße")));
    try {
        MoveListToGroup(m_data, List("Záloha Straße"), "Záloha Straße.sez", 2);
        FAIL() << "no error";
    } catch (const VypisnikError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Seznam \"Záloha Straße\" mezitím smazal jiný program; skupina se nezměnila.");
    }
    EXPECT_EQ(test::ReadFile(m_data.SettingsPath()),
              "[fLV]\r\nTop=5\r\n[Seznamy]\r\nZáloha Straße.sez=3\r\nФильмы.sez=7\r\n");
}

} // namespace
} // namespace vyp
