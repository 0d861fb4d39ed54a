#include "TestSupport.h"

#include "qtcore/DataFolderChoice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vyp {
namespace {

// The data folder: beside the executable in a portable copy, else the user's.
class DataFolderChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldHome = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
        ::setenv("XDG_DATA_HOME", (m_dir / "home data").c_str(), 1);
    }
    void TearDown() override {
        if (m_oldHome.empty())
            ::unsetenv("XDG_DATA_HOME");
        else
            ::setenv("XDG_DATA_HOME", m_oldHome.c_str(), 1);
    }
    QString Folder(const std::string& name) { return QString::fromStdString(m_dir / name); }

    test::TempDir m_dir;
    std::string m_oldHome;
};

TEST_F(DataFolderChoiceTest, PortableCopyKeepsItsDataBesideItself) {
    std::filesystem::create_directories(m_dir / "Výpisník přenosný");
    EXPECT_EQ(ChooseDataFolder(Folder("Výpisník přenosný"), Folder("usr/bin")),
              Folder("Výpisník přenosný"));
    EXPECT_EQ(ChooseDataFolder(Folder("Výpisník přenosný"), QString()),
              Folder("Výpisník přenosný"));
}

TEST_F(DataFolderChoiceTest, InstalledOrUnwritableProgramUsesTheUsersDataFolder) {
    std::filesystem::create_directories(m_dir / "usr/bin");
    const QString user = Folder("home data/Vypisnik");
    EXPECT_EQ(UserDataFolder(), user);
    EXPECT_EQ(ChooseDataFolder(Folder("usr/bin"), Folder("usr/bin/")), user);
    EXPECT_TRUE(std::filesystem::is_directory(m_dir / "home data/Vypisnik"));
    EXPECT_EQ(ChooseDataFolder(Folder("missing"), QString()), user);
    EXPECT_EQ(ChooseDataFolder(QStringLiteral("/usr/bin"), QString()), user); // a package
    if (::geteuid() != 0) { // root may write anywhere
        std::filesystem::create_directories(m_dir / "read-only");
        ::chmod((m_dir / "read-only").c_str(), 0555);
        EXPECT_EQ(ChooseDataFolder(Folder("read-only"), QString()), user);
    }
}

} // namespace
} // namespace vyp
