#include "UiFixture.h"

#include <QGuiApplication>
#include <QToolButton>

namespace vyp::test {
namespace {

class StartUp : public UiFixture {};

TEST_F(StartUp, CreatesTheMissingListFolderWithoutAMessage) {
    std::filesystem::remove(FsPath(m_dir / "Seznamy"));
    Start();
    EXPECT_TRUE(std::filesystem::is_directory(FsPath(m_dir / "Seznamy")));
    EXPECT_TRUE(Dialogs::Shown().empty());
    EXPECT_EQ(Children(kNoNode), kEmptyGroups);
    EXPECT_EQ(m_window->windowTitle(), "Vypisnik");
    EXPECT_EQ(TreeStatus().Text(0), "Počet seznamů: 0");
}

TEST_F(StartUp, FileInPlaceOfTheListFolderIsReportedOnce) {
    std::filesystem::remove(FsPath(m_dir / "Seznamy"));
    WriteFile(m_dir / "Seznamy", "not a folder");
    Start();
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].caption, "Chyba!");
    EXPECT_EQ(Dialogs::Shown()[0].text,
              "Nepodařilo se vytvořit složku Seznamy,\r\nkterá je nutná pro funkci programu!");
    EXPECT_EQ(Dialogs::Shown()[0].icon, QMessageBox::Warning);
    EXPECT_EQ(Children(kNoNode), kEmptyGroups);
}

TEST_F(StartUp, ToolBarButtonsAndTheirHints) {
    Start();
    for (const auto& [name, hint] :
         std::vector<std::pair<QString, QString>>{{"btnCreateList", "Vytvořit nový seznam"},
                                                  {"btnRefresh", "Obnovit seznamy"},
                                                  {"btnFind", "Najít soubory/složky"}}) {
        auto* button = m_window->findChild<QToolButton*>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        EXPECT_EQ(button->toolTip(), hint);
        EXPECT_EQ(button->size(), QSize(44, 44));
        EXPECT_TRUE(button->autoRaise());
    }
}

class WindowLife : public UiFixture {
protected:
    void PressKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&widget, static_cast<Qt::Key>(key), modifiers);
    }
    std::string Settings() { return ReadFile(m_dir / "settings.ini"); }
};

TEST_F(WindowLife, ShortcutsShowTheSearchAndNewListWindows) {
    Start();
    QWidget search, newList;
    m_window->SetSearchWindow(&search);
    m_window->SetNewListWindow(&newList);
    PressKey(View(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(search.isVisible());
    EXPECT_FALSE(newList.isVisible());
    PressKey(Tree(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(newList.isVisible());
    search.hide();
    m_window->findChild<QToolButton*>("btnFind")->click();
    EXPECT_TRUE(search.isVisible());
}

TEST_F(WindowLife, WindowGeometryIsRestoredAndSavedWithNegativeCoordinates) {
#ifdef _WIN32
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        GTEST_SKIP() << "Qt's offscreen platform on Windows pushes a window whose client area "
                        "begins left of or above the screen back by its frame at every size "
                        "change; ui_tests_windows_platform runs this case on the windows platform";
#endif
    WriteSettings("[fLV]\r\nSplitter=250\r\nTop=-20\r\nLeft=-500\r\nWidth=800\r\nHeigth=600\r\n"
                  "[fFind]\r\nTop=5\r\nLeft=-7\r\nWidth=640\r\nHeight=999\r\n");
    Start();
    EXPECT_EQ(m_window->frameGeometry(), QRect(-500, -20, 800, 600));
    EXPECT_EQ(m_window->findChild<QWidget*>("pnlTree")->width(), 250);
    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(Settings(),
              "[fLV]\r\nSplitter=250\r\nTop=-20\r\nLeft=-500\r\nWidth=800\r\nHeigth=600\r\n"
              "[fFind]\r\nTop=5\r\nLeft=-7\r\nWidth=640\r\nHeight=999\r\n"); // no window, no keys
}

TEST_F(WindowLife, AttachedWindowsRestoreAndSaveTheirSectionsInOrder) {
    WriteSettings("[fNewList]\r\nLeft=497\r\nTop=479\r\n"
                  "[fFind]\r\nTop=5\r\nLeft=-7\r\nWidth=640\r\nHeigth=300\r\n");
    QWidget search, newList;
    newList.resize(300, 200);
    MainWindowEnvironment environment{DataFolder(m_dir.Path()), &m_walker, &m_icons,
                                      RegionalSettings::Czech(), QLocale::c()};
    m_window = std::make_unique<TfLV>(std::move(environment));
    m_window->SetSearchWindow(&search);
    m_window->SetNewListWindow(&newList);
    m_window->show();
    QApplication::processEvents();
    EXPECT_EQ(search.frameGeometry(), QRect(-7, 5, 640, 300));
    EXPECT_EQ(newList.frameGeometry(), QRect(497, 479, 300, 200));
    search.move(30, 40);
    newList.move(50, 60);
    m_window->SetSearchWindow(&search); // attached again: still one "fFind", in its place
    m_window->close();
    const QRect main = m_window->frameGeometry();
    EXPECT_EQ(
        Settings(),
        QStringLiteral("[fNewList]\r\nLeft=50\r\nTop=60\r\n"
                       "[fFind]\r\nTop=40\r\nLeft=30\r\nWidth=640\r\nHeigth=300\r\n"
                       "[fLV]\r\nSplitter=%1\r\nTop=%2\r\nLeft=%3\r\nWidth=%4\r\nHeigth=%5\r\n")
            .arg(m_window->findChild<QWidget*>("pnlTree")->width())
            .arg(main.top())
            .arg(main.left())
            .arg(main.width())
            .arg(main.height())
            .toStdString());
}

TEST_F(WindowLife, ReadOnlySettingsAtCloseAreReportedOnceAndTheWindowCloses) {
    WriteSettings("[fLV]\r\nTop=10\r\n");
    Start();
    MakeReadOnly(m_dir / "settings.ini");
    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].text.toStdString(),
              "Unable to write to " + (m_dir / "settings.ini") + ".");
    EXPECT_EQ(Settings(), "[fLV]\r\nTop=10\r\n");
}

} // namespace
} // namespace vyp::test
