// Many command-line companions writing one data folder at once, as real processes: a script
// that catalogues several drives, or the command line beside the open window. Whatever order
// the system runs them in, a list reported written is there whole with the group it was given,
// a list reported failed left no trace and its message says why, and no temporary stays.
#include "CompanionProcess.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>

namespace vyp {
namespace {

namespace fs = std::filesystem;
using test::CompanionProcess;

// What one companion was asked to do, and what the data folder must hold afterwards.
struct Job {
    enum class Kind { NewList, Overwrite, Rescan } kind;
    std::string name;
    int group;                  // the group asked for; a rescan keeps the list's own
    std::string bytesIfWritten; // the list file when it reports success
    std::string bytesIfFailed;  // ... and when it reports failure (empty: no file)
    int groupIfFailed;          // the entry then (0: none)
};

class ConcurrentWriters : public ::testing::Test {
protected:
    void SetUp() override {
        MakeTree(m_dir / "Disk Čeština", {"Hudba/Živě", "Fotos/Straße am Meer", "写真"});
        MakeTree(m_dir / "Stará záloha", {"Фото/Лето 2019"});
        MakeTree(m_dir / "Proměnlivý disk", {"Dokumenty/Účty 2.0"});
    }
    static void MakeTree(const std::string& root, const std::vector<std::string>& folders) {
        for (const std::string& folder : folders) {
            fs::create_directories(test::FsPath(root + "/" + folder));
            for (int i = 0; i < 12; ++i)
                test::WriteFile(root + "/" + folder + "/soubor č. " + std::to_string(i) + ".tar.gz",
                                std::string(static_cast<size_t>(i * 37), 'x'));
        }
    }
    // Runs one companion to its end; its exit status.
    int RunOne(const std::vector<std::string>& args) {
        CompanionProcess one(VYPISNIK_CLI_PATH, args, m_dir / "one.err");
        EXPECT_TRUE(one.Start());
        return one.Wait();
    }
    std::string ListBytes(const std::string& data, const std::string& name) {
        const std::string path = data + "/Seznamy/" + name + ".sez";
        return fs::exists(test::FsPath(path)) ? test::ReadFile(path) : std::string();
    }
    // The group entries of "settings.ini" (UTF-8), by list name.
    static std::map<std::string, int> Groups(const std::string& data) {
        std::map<std::string, int> groups;
        const std::string path = data + "/settings.ini";
        if (!fs::exists(test::FsPath(path)))
            return groups;
        const std::string text = test::ReadFile(path);
        bool inLists = false;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find("\r\n", start);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = text.substr(start, end - start);
            start = end + 2;
            if (line.starts_with("[")) {
                inLists = line == "[Seznamy]";
            } else if (const size_t equals = line.find('=');
                       inLists && equals != std::string::npos) {
                const std::string key = line.substr(0, equals);
                EXPECT_TRUE(key.ends_with(".sez")) << line;
                groups[key.substr(0, key.size() - 4)] = std::stoi(line.substr(equals + 1));
            }
        }
        return groups;
    }
    static std::vector<std::string> Temporaries(const std::string& data) {
        std::vector<std::string> found;
        for (const std::string& folder : {data, data + "/Seznamy"})
            for (const auto& entry : fs::directory_iterator(test::FsPath(folder)))
                if (test::Utf8(entry.path().filename()).find(".tmp-") != std::string::npos)
                    found.push_back(test::Utf8(entry.path()));
        return found;
    }

    test::TempDir m_dir;
};

// Three dozen companions a round: new lists of different groups, overwrites of old lists and
// rescans of lists whose folder changed, all started at once.
TEST_F(ConcurrentWriters, ThreeDozenAtOnceLoseNothing) {
    constexpr int kNewLists = 24, kOverwrites = 8, kRescans = 4;
    constexpr int kMostRounds = 6;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(25);
    const std::string disk = m_dir / "Disk Čeština";
    const std::string oldDisk = m_dir / "Stará záloha";
    const std::string changing = m_dir / "Proměnlivý disk";
    const std::vector<std::string> names = {"Záloha", "Фото", "Musik für Ärzte", "写真 ディスク",
                                            "Ročník 2.0.1"};
    int rounds = 0, reportedFailed = 0;
    for (; rounds < kMostRounds && (rounds == 0 || std::chrono::steady_clock::now() < deadline);
         ++rounds) {
        SCOPED_TRACE("round " + std::to_string(rounds));
        const std::string data = m_dir / ("data " + std::to_string(rounds));
        fs::create_directories(test::FsPath(data));
        // The lists that are there before: the old ones to overwrite, the ones to rescan.
        for (int i = 0; i < kOverwrites; ++i)
            ASSERT_EQ(RunOne({"--data", data, "scan", oldDisk, "Stará " + std::to_string(i),
                              "--group", std::to_string(2 + i % 7)}),
                      0);
        for (int i = 0; i < kRescans; ++i)
            ASSERT_EQ(RunOne({"--data", data, "scan", changing, "Měnící se " + std::to_string(i),
                              "--group", std::to_string(8 - i)}),
                      0);
        const std::string oldBytes = ListBytes(data, "Stará 0");
        const std::string before = ListBytes(data, "Měnící se 0");
        test::WriteFile(changing + "/nový soubor " + std::to_string(rounds) + ".txt", "nový");
        // What a scan of each folder writes, made alone in a folder of its own.
        const std::string reference = m_dir / ("reference " + std::to_string(rounds));
        fs::create_directories(test::FsPath(reference));
        ASSERT_EQ(RunOne({"--data", reference, "scan", disk, "A"}), 0);
        ASSERT_EQ(RunOne({"--data", reference, "scan", changing, "C"}), 0);
        const std::string diskBytes = ListBytes(reference, "A");
        const std::string changedBytes = ListBytes(reference, "C");
        ASSERT_NE(changedBytes, before);

        std::vector<Job> jobs;
        std::vector<CompanionProcess> companions;
        const auto add = [&](Job job, std::vector<std::string> args) {
            companions.emplace_back(VYPISNIK_CLI_PATH, std::move(args),
                                    m_dir / ("job " + std::to_string(jobs.size()) + ".err"));
            jobs.push_back(std::move(job));
        };
        for (int i = 0; i < kNewLists; ++i) {
            const std::string name = names[i % names.size()] + " " + std::to_string(i);
            const int group = 2 + (i * 3 + rounds) % 7;
            add({Job::Kind::NewList, name, group, diskBytes, "", 0},
                {"--data", data, "scan", disk, name, "--group", std::to_string(group)});
        }
        for (int i = 0; i < kOverwrites; ++i) {
            const std::string name = "Stará " + std::to_string(i);
            const int group = 2 + (i + 3) % 7;
            add({Job::Kind::Overwrite, name, group, diskBytes, oldBytes, 2 + i % 7},
                {"--data", data, "scan", disk, name, "--group", std::to_string(group),
                 "--overwrite"});
        }
        for (int i = 0; i < kRescans; ++i) {
            const std::string name = "Měnící se " + std::to_string(i);
            add({Job::Kind::Rescan, name, 8 - i, changedBytes, before, 8 - i},
                {"--data", data, "rescan", name});
        }
        for (CompanionProcess& companion : companions)
            ASSERT_TRUE(companion.Start());
        std::vector<int> statuses;
        for (CompanionProcess& companion : companions)
            statuses.push_back(companion.Wait());

        const std::map<std::string, int> groups = Groups(data);
        for (size_t i = 0; i < jobs.size(); ++i) {
            const Job& job = jobs[i];
            SCOPED_TRACE(job.name);
            const auto entry = groups.find(job.name);
            const int group = entry == groups.end() ? 0 : entry->second;
            if (statuses[i] == 0) {
                EXPECT_EQ(ListBytes(data, job.name), job.bytesIfWritten);
                EXPECT_EQ(group, job.group);
            } else {
                ++reportedFailed;
                EXPECT_EQ(statuses[i], 1);
                // Only another writer keeping the lock too long may make one fail, and it says so.
                EXPECT_NE(companions[i].Errors().find(data + "/settings.ini"), std::string::npos)
                    << companions[i].Errors();
                EXPECT_EQ(ListBytes(data, job.name), job.bytesIfFailed);
                EXPECT_EQ(group, job.groupIfFailed);
            }
        }
        EXPECT_EQ(groups.size(), jobs.size()); // no entry without its list
        EXPECT_EQ(Temporaries(data), std::vector<std::string>{});
        if (HasFailure())
            break;
    }
    std::cout << "[ rounds   ] " << rounds << " rounds of " << kNewLists + kOverwrites + kRescans
              << " companions at once, " << reportedFailed << " reported failed\n";
}

} // namespace
} // namespace vyp
