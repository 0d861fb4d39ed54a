#include "TestSupport.h"

#include "lists/DataFolder.h"
#include "util/SafeFileWriter.h"
#include "util/StaleTemporaries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace vyp {
namespace {

namespace fs = std::filesystem;

TEST(StaleTemporaries, OnlyOurNamesCount) {
    for (const char* name : {"settings.ini.tmp-a1B2c3", "Hudba 2024.sez.tmp-XyZ09q",
                             "Фото.SEZ.tmp-000000", "k.sez.tmp-aaaaaa"})
        EXPECT_TRUE(IsSafeWriteTemporaryName(name)) << name;
    for (const char* name : {"settings.ini", "Hudba.sez", "Hudba.sez.tmp-abc",
                             "notes.txt.tmp-abcdef", ".sez.tmp-abcdef", "Hudba.sez.tmp-abc.ef",
                             "Hudba.sez.tmp-abcdefg", "settings.ini.bak-abcdef"})
        EXPECT_FALSE(IsSafeWriteTemporaryName(name)) << name;
}

TEST(StaleTemporaries, StartRemovesWhatNoWriterHolds) {
    test::TempDir dir;
    const DataFolder data(dir.Path());
    fs::create_directories(test::FsPath(data.ListFolder()));
    const std::string lists = data.ListFolder();
    const std::string kept[] = {lists + "Příliš žluťoučký kůň.sez", lists + "Disk.sez.tmp-abc",
                                lists + "poznámky.txt.tmp-abcdef", data.SettingsPath()};
    for (const std::string& path : kept)
        test::WriteFile(path, "E:\\\t0\r\n");
    test::WriteOldFile(lists + "Příliš žluťoučký kůň.sez.tmp-Q7x2Lm", std::string(70000, 'x'));
    test::WriteOldFile(data.SettingsPath() + ".tmp-000aZ9", "[Seznamy]\r\n");
    // Written since this instance started: its writer may have made it and not locked it yet.
    test::WriteFile(lists + "Zpěvník für Ärzte.sez.tmp-n3wOne", "E:\\\t0\r\n");
    fs::create_directory(test::FsPath(lists + "Složka.sez.tmp-abcdef")); // not a file of ours
#ifdef _WIN32
    // Held open by another program, which lets nobody remove it.
    std::ofstream holder(test::FsPath(lists + "Odkaz.sez.tmp-abcdef"));
#else
    fs::create_symlink(data.SettingsPath(), lists + "Odkaz.sez.tmp-abcdef");
#endif

    SafeFileWriter busy(lists + "Hudba.sez"); // being written right now, by anyone
    busy.Write("E:\\\t0\r\n");
    busy.Complete(); // written whole, about to be renamed, and begun long ago
    for (const auto& entry : fs::directory_iterator(test::FsPath(lists)))
        if (test::Utf8(entry.path().filename()).starts_with("Hudba.sez.tmp-")) {
            // Windows lets nobody else set the times of a temporary its writer holds: there it
            // stays young as well as locked, and the cleanup keeps it either way.
            std::error_code heldOnWindows;
            fs::last_write_time(entry.path(),
                                fs::file_time_type::clock::now() - std::chrono::hours(1),
                                heldOnWindows);
#ifndef _WIN32
            EXPECT_FALSE(heldOnWindows) << heldOnWindows.message();
#endif
        }
    EXPECT_EQ(RemoveStaleTemporaries(data), 2);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(test::FsPath(lists)))
        left.push_back(test::Utf8(entry.path().filename()));
    std::sort(left.begin(), left.end());
    ASSERT_EQ(left.size(), 7u);
    EXPECT_EQ(left[0], "Disk.sez.tmp-abc");
    EXPECT_TRUE(left[1].starts_with("Hudba.sez.tmp-")) << left[1];
    EXPECT_EQ(left[2], "Odkaz.sez.tmp-abcdef");
    EXPECT_EQ(left[3], "Příliš žluťoučký kůň.sez");
    EXPECT_EQ(left[4], "Složka.sez.tmp-abcdef");
    EXPECT_EQ(left[5], "Zpěvník für Ärzte.sez.tmp-n3wOne");
    EXPECT_EQ(left[6], "poznámky.txt.tmp-abcdef");
    EXPECT_TRUE(fs::exists(test::FsPath(data.SettingsPath())));
    EXPECT_FALSE(fs::exists(test::FsPath(data.SettingsPath() + ".tmp-000aZ9")));
    busy.Commit(); // the cleanup left its temporary alone
    EXPECT_EQ(test::ReadFile(lists + "Hudba.sez"), "E:\\\t0\r\n");
}

TEST(StaleTemporaries, AProcessToldToEndRemovesItsOwnTemporaries) {
    test::TempDir dir;
    const std::string list = dir / "Ελληνικά δεδομένα.sez";
    test::WriteFile(list, "old");
    SafeFileWriter writer(list);
    writer.Write(std::string(100000, 'n'));
    EXPECT_EQ(RemoveOwnTemporaries(), 1);
#ifndef _WIN32 // Windows may keep the name until the writer's handle closes, when the process ends
    EXPECT_EQ(std::distance(fs::directory_iterator(test::FsPath(dir.Path())), {}), 1);
#endif
    EXPECT_EQ(test::ReadFile(list), "old");
}

} // namespace
} // namespace vyp
