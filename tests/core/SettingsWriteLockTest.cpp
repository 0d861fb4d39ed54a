#include "TestSupport.h"

#include "lists/SettingsFile.h"
#include "lists/SettingsWriteLock.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

namespace vyp {
namespace {

// Writers that give up after a fifth of a second, so a lock kept elsewhere shows quickly.
class SettingsWriteLockTest : public ::testing::Test {
protected:
    void SetUp() override { SettingsWriteLock::SetWaitForTests(200); }
    void TearDown() override {
        SettingsWriteLock::SetWaitForTests(SettingsWriteLock::kWaitMilliseconds);
    }
    std::string Message(const std::function<void()>& write) {
        try {
            write();
        } catch (const VypisnikError& error) {
            return error.what();
        }
        return "no error";
    }

    test::TempDir m_dir;
    const std::string m_path = m_dir / "settings.ini";
    const std::string m_before = "[Seznamy]\r\nDisk Žďár.sez=3\r\n";
};

TEST_F(SettingsWriteLockTest, WriterWaitsForTheHolderAndKeepsWhatItWrote) {
    test::WriteFile(m_path, m_before);
    std::atomic<bool> held{false};
    std::thread holder([&] {
        const SettingsWriteLock lock(m_path);
        SettingsFile(m_path).WriteInteger("Seznamy", "Фото 2024.sez", 4); // the lock is its own
        held = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    });
    while (!held)
        std::this_thread::yield();
    SettingsFile settings(m_path); // read while the other one still writes
    settings.WriteInteger("Seznamy", "Musik für Kinder.sez", 5);
    holder.join();
    EXPECT_EQ(test::ReadFile(m_path), m_before + "Фото 2024.sez=4\r\nMusik für Kinder.sez=5\r\n");
}

TEST_F(SettingsWriteLockTest, LockKeptTooLongIsReportedWithTheFileAndNothingChanges) {
    test::WriteFile(m_path, m_before);
    std::atomic<bool> held{false}, done{false};
    std::thread holder([&] {
        const SettingsWriteLock lock(m_path);
        held = true;
        while (!done)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    while (!held)
        std::this_thread::yield();
    SettingsFile settings(m_path);
    const std::string message = Message([&] { settings.WriteInteger("fLV", "Top", -40); });
    done = true;
    holder.join();
    EXPECT_EQ(message, "Soubor \"" + m_path +
                           "\" právě mění jiný spuštěný Vypisnik a ani po 1 s jej neuvolnil; "
                           "nic nebylo změněno. Zkuste to znovu.");
    EXPECT_EQ(test::ReadFile(m_path), m_before);
    settings.WriteInteger("fLV", "Top", -40); // free again
    EXPECT_EQ(test::ReadFile(m_path), m_before + "[fLV]\r\nTop=-40\r\n");
}

TEST_F(SettingsWriteLockTest, LockFileLeftBehindMeansNothingAndOneThatCannotBeMadeFailsTheWrite) {
    test::WriteFile(SettingsWriteLock::LockPathOf(m_path), "left by a killed instance");
    SettingsFile(m_path).WriteInteger("Seznamy", "CD 1.sez", 2);
    EXPECT_EQ(test::ReadFile(m_path), "[Seznamy]\r\nCD 1.sez=2\r\n");

    // A lock that cannot be taken at all is a write the system refused, never a silent success.
    const std::string other = m_dir / "jiná/settings.ini";
    std::filesystem::create_directories(test::FsPath(SettingsWriteLock::LockPathOf(other)));
    EXPECT_EQ(Message([&] { SettingsFile(other).WriteInteger("Seznamy", "CD 1.sez", 2); }),
              "Unable to write to " + other);
    EXPECT_FALSE(std::filesystem::exists(test::FsPath(other)));
}

TEST_F(SettingsWriteLockTest, ThreadsWritingAtOnceLoseNoEntry) {
    constexpr int kThreads = 8;
    constexpr int kEach = 25;
    SettingsWriteLock::SetWaitForTests(SettingsWriteLock::kWaitMilliseconds);
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t)
        writers.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                SettingsFile settings(m_path);
                settings.Write(
                    {{"Seznamy", "Disk " + std::to_string(t) + "-" + std::to_string(i) + ".sez",
                      2 + (t + i) % 7},
                     {"fLV", "Top", t}});
            }
        });
    for (std::thread& writer : writers)
        writer.join();
    const SettingsFile settings(m_path);
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(
                settings.ReadInteger(
                    "Seznamy", "Disk " + std::to_string(t) + "-" + std::to_string(i) + ".sez", 0),
                2 + (t + i) % 7);
}

} // namespace
} // namespace vyp
