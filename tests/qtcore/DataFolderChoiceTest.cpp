#include "TestSupport.h"

#include "qtcore/DataFolderChoice.h"

#include <gtest/gtest.h>

#include <QDir>

#include <filesystem>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace vyp {
namespace {

// The data folder: beside the executable in a portable copy, else the user's.
class DataFolderChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(m_dir / "home data"));
    }
    void TearDown() override {
        if (m_oldHome.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", m_oldHome);
    }
    QString Folder(const std::string& name) { return QString::fromStdString(m_dir / name); }

    test::TempDir m_dir;
    QByteArray m_oldHome;
};

TEST_F(DataFolderChoiceTest, PortableCopyKeepsItsDataBesideItself) {
    std::filesystem::create_directories(test::FsPath(m_dir / "Výpisník přenosný"));
    EXPECT_EQ(ChooseDataFolder(Folder("Výpisník přenosný"), Folder("usr/bin")),
              Folder("Výpisník přenosný"));
    EXPECT_EQ(ChooseDataFolder(Folder("Výpisník přenosný"), QString()),
              Folder("Výpisník přenosný"));
    // Whether files can be made there is tried with a file that is gone again.
    EXPECT_TRUE(QDir(Folder("Výpisník přenosný")).isEmpty());
}

TEST_F(DataFolderChoiceTest, InstalledOrUnwritableProgramUsesTheUsersDataFolder) {
    VYP_LINUX_ONLY("the XDG data folder, /usr and permission bits; Windows has a case of its own");
#ifndef _WIN32
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
#endif
}

#ifdef _WIN32
// The installer puts the program into Program Files, which may not be written into even where
// it could: its lists go to %APPDATA%\Vypisnik, where the uninstaller leaves them.
TEST_F(DataFolderChoiceTest, ProgramInProgramFilesUsesTheRoamingDataFolder) {
    const QString appData = QDir::toNativeSeparators(qEnvironmentVariable("APPDATA"));
    ASSERT_FALSE(appData.isEmpty());
    const QString user = UserDataFolder();
    EXPECT_EQ(user, appData + QStringLiteral("\\Vypisnik"));

    const QString programs = QDir::toNativeSeparators(qEnvironmentVariable("ProgramFiles"));
    ASSERT_FALSE(programs.isEmpty());
    const QString installed = programs + QStringLiteral("\\Výpisník zkouška");
    ASSERT_TRUE(QDir().mkpath(installed));
    EXPECT_EQ(ChooseDataFolder(installed, QString()), user);
    EXPECT_TRUE(QFileInfo(user).isDir());
    // The letter case of the path does not matter to Windows, nor to the choice.
    EXPECT_EQ(ChooseDataFolder(installed.toUpper(), QString()), user);
    QDir(installed).removeRecursively();

    EXPECT_EQ(ChooseDataFolder(Folder("chybí"), QString()), user);
}
#endif

} // namespace
} // namespace vyp
