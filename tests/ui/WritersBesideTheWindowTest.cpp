// The main window's own writes of "settings.ini" (regrouping, deleting a list, the geometry on
// close) while command-line companions, real processes, write lists into the same data folder:
// nobody's entry is lost, whoever writes last.
#include "CompanionProcess.h"
#include "UiFixture.h"
#include "lists/SettingsFile.h"

#include <QAction>
#include <QMessageBox>
#include <QToolButton>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <map>

namespace vyp::test {
namespace {

namespace fs = std::filesystem;

class WritersBesideTheWindow : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        m_disk = m_dir / "Disk Čeština";
        for (const char* folder : {"Hudba/Živě", "Fotos/Straße am Meer", "写真"}) {
            fs::create_directories(FsPath(m_disk + "/" + folder));
            for (int i = 0; i < 10; ++i)
                WriteFile(m_disk + "/" + folder + "/stopa č. " + std::to_string(i) + ".mp3",
                          std::string(static_cast<size_t>(i * 41), 'x'));
        }
        AddList("Hry na léto.sez", {"E:\\\t0", "Hry\\\t0\t2004.1.2\t3:4.6"});
        WriteSettings("[Seznamy]\r\nHry na léto.sez=2\r\n");
    }
    CompanionProcess Scan(const std::string& name, int group) {
        return CompanionProcess(
            VYPISNIK_CLI_PATH,
            {"--data", m_dir.Path(), "scan", m_disk, name, "--group", std::to_string(group)},
            m_dir / ("companion " + std::to_string(m_started++) + ".err"));
    }
    // The list node captioned caption under whichever group holds it.
    NodeId ListNode(const QString& caption) {
        for (int row = 0; row < Tree().ChildCount(kNoNode); ++row) {
            const NodeId group = Tree().ChildAt(kNoNode, row);
            const int at = static_cast<int>(Children(group).indexOf(caption));
            if (at >= 0)
                return Tree().ChildAt(group, at);
        }
        return kNoNode;
    }
    std::map<std::string, int> Groups() {
        const SettingsFile settings(m_dir / "settings.ini");
        std::map<std::string, int> groups;
        for (const auto& [name, group] : m_expected)
            groups[name] = settings.ReadInteger("Seznamy", name + ".sez", 0);
        return groups;
    }

    std::string m_disk;
    int m_started = 0;
    std::map<std::string, int> m_expected; // each list's group
};

TEST_F(WritersBesideTheWindow, RegroupDeleteAndCloseKeepTheCompanionsGroups) {
#ifdef _WIN32
    // Wine fails some of 64 processes started at once in their DLLs' start-up (0xC0000142).
    constexpr int kCompanions = 16, kMostRounds = 4;
#else
    constexpr int kCompanions = 32, kMostRounds = 4;
#endif
    const QString groupActions[] = {"Gamesy1",   "Filmy1",  "Obrzky1", "Hudba1",
                                    "Programy1", "Ostatn1", "Neureno1"};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    Start();
    m_expected["Hry na léto"] = 2;
    int rounds = 0, regroups = 0;
    for (; rounds < kMostRounds && (rounds == 0 || std::chrono::steady_clock::now() < deadline);
         ++rounds) {
        SCOPED_TRACE("round " + std::to_string(rounds));
        // A list of an earlier round, for the window to delete while the companions write.
        const std::string doomed = "Smazat " + std::to_string(rounds);
        CompanionProcess first = Scan(doomed, 7);
        ASSERT_TRUE(first.Start());
        ASSERT_EQ(first.Wait(), 0) << first.Errors();
        m_window->findChild<QToolButton*>("btnRefresh")->click();

        std::vector<CompanionProcess> companions;
        for (int i = 0; i < kCompanions; ++i) {
            const std::string name = "Disk " + std::to_string(rounds) + "-" + std::to_string(i);
            m_expected[name] = 2 + (i + rounds) % 7;
            companions.push_back(Scan(name, m_expected[name]));
        }
        for (CompanionProcess& companion : companions)
            ASSERT_TRUE(companion.Start());

        ASSERT_NE(ListNode(QString::fromStdString(doomed)), kNoNode);
        Tree().SelectNode(ListNode(QString::fromStdString(doomed)));
        Dialogs::QueueAnswer(QMessageBox::Yes);
        QTest::keyClick(&Tree(), Qt::Key_Delete);
        EXPECT_FALSE(fs::exists(FsPath(ListPath(doomed + ".sez"))));
        // Regroups as long as any companion runs, so the writes meet.
        const auto running = [&] {
            return std::any_of(companions.begin(), companions.end(),
                               [](CompanionProcess& companion) { return !companion.Ended(); });
        };
        do {
            const int group = 2 + regroups++ % 7;
            Tree().SelectNode(ListNode(QStringLiteral("Hry na léto")));
            m_window->findChild<QAction*>(groupActions[group - 2])->trigger();
            m_expected["Hry na léto"] = group;
        } while (running());
        if (rounds + 1 == kMostRounds || std::chrono::steady_clock::now() >= deadline) {
            // The last round closes the window while new companions write.
            for (int i = 0; i < kCompanions; ++i) {
                const std::string name = "Pozdě " + std::to_string(i);
                m_expected[name] = 2 + i % 7;
                companions.push_back(Scan(name, m_expected[name]));
                ASSERT_TRUE(companions.back().Start());
            }
            m_window->move(-300 + rounds, 40);
            m_window->close();
        }
        for (CompanionProcess& companion : companions)
            EXPECT_EQ(companion.Wait(), 0) << companion.Errors();
        EXPECT_EQ(Groups(), m_expected);
        EXPECT_EQ(SettingsFile(m_dir / "settings.ini").ReadInteger("Seznamy", doomed + ".sez", 0),
                  0);
        if (HasFailure() || !m_window->isVisible())
            break;
    }
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(Dialogs::Shown().size() == static_cast<size_t>(rounds + 1)) // the questions only
        << Dialogs::Shown().size();
    const SettingsFile settings(m_dir / "settings.ini");
    EXPECT_EQ(settings.ReadInteger("fLV", "Left", 0), m_window->frameGeometry().left());
    EXPECT_EQ(settings.ReadInteger("fLV", "Top", 0), m_window->frameGeometry().top());
    for (const auto& entry : fs::directory_iterator(FsPath(m_dir / "Seznamy")))
        EXPECT_EQ(Utf8(entry.path().filename()).find(".tmp-"), std::string::npos);
    std::cout << "[ rounds   ] " << rounds + 1 << " rounds of " << kCompanions
              << " companions beside the window, " << regroups << " regroups\n";
}

} // namespace
} // namespace vyp::test
