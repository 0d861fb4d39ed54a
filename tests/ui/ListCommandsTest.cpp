#include "PhotoDisc.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <sys/stat.h>

namespace vyp::test {
namespace {

class ListCommandsTest : public PhotoDiscFixture {
protected:
    // Opens the tree's popup menu on the selected node and chooses "Obnovit seznam".
    void RescanThroughMenu() {
        QMenu* menu = m_window->findChild<QMenu*>(QStringLiteral("pmGroup"));
        emit Tree().customContextMenuRequested(QPoint(5, 5));
        QAction* rescan = m_window->findChild<QAction*>(QStringLiteral("actRescanList"));
        ASSERT_TRUE(rescan->isEnabled());
        rescan->trigger();
        menu->hide();
    }
};

// ---- rescanning a list through the tree's popup menu -----------------------------------------

TEST_F(ListCommandsTest, RescanIsOfferedOnListNodesOnly) {
    StartOnDisc();
    QAction* rescan = m_window->findChild<QAction*>(QStringLiteral("actRescanList"));
    for (const QStringList& path :
         {QStringList{"Obrázky (1)"}, kLetoNode, QStringList{"Obrázky (1)", "Fotky a hudba"}}) {
        Tree().SelectNode(Node(path));
        emit Tree().customContextMenuRequested(QPoint(5, 5));
        EXPECT_EQ(rescan->isEnabled(), path.size() == 2) << path.join('/').toStdString();
        m_window->findChild<QMenu*>(QStringLiteral("pmGroup"))->hide();
    }
}

TEST_F(ListCommandsTest, RescanOfAChangedDiscShowsTheChangesAndTheNewTree) {
    StartOnDisc();
    Tree().SelectNode(Node({"Obrázky (1)", "Fotky a hudba"}));
    // A photo more, the music gone, a new folder.
    m_disc.AddFolder(kRoot, {FileEntry("Übersicht 2024.v2.pdf", 5120, At(2024, 3, 1, 8, 0, 0)),
                             FolderEntry("Fotky z Brna", At(2023, 9, 2, 10, 0, 0)),
                             FolderEntry("写真", At(2021, 7, 7, 7, 7, 6)),
                             FolderEntry("Nové složky", At(2024, 5, 1, 9, 0, 0))});
    m_disc.AddFolder(kRoot + Native("Nové složky/"),
                     {FileEntry("README.md", 12, At(2024, 5, 1, 9, 0, 0))});
    const std::string fresh = m_dir / "fresh.sez";
    ScanLines lines;
    CreateList(m_disc, kRoot, fresh, {}, lines);

    RescanThroughMenu();

    ASSERT_EQ(Dialogs::Shown().size(), 1u) << LastMessage().toStdString();
    EXPECT_EQ(Dialogs::Shown()[0].icon, QMessageBox::Information);
    EXPECT_EQ(LastMessage(), "Složky: přidáno 1, odebráno 1, změněno 0\n"
                             "Soubory: přidáno 1, odebráno 1, změněno 0\n"
                             "Počet složek: 4, počet souborů: 7, velikost: " +
                                 TreeStatus().Text(1).mid(QStringLiteral("Velikost: ").size()));
    EXPECT_EQ(ReadFile(ListPath("Fotky a hudba.sez")), ReadFile(fresh));
    // The tree is built anew, the list still selected, and its group kept.
    EXPECT_EQ(SelectedCaption(Tree()), "Fotky a hudba");
    EXPECT_EQ(Children(Node({"Obrázky (1)", "Fotky a hudba"})),
              QStringList({"Fotky z Brna", "写真", "Nové složky"}));
    EXPECT_EQ(ReadFile(m_dir / "settings.ini"), "[Seznamy]\nFotky a hudba.sez=4\n");
    EXPECT_EQ(TreeStatus().Text(0), "Počet seznamů: 1");
}

TEST_F(ListCommandsTest, RescanWithoutTheDiscChangesNothing) {
    StartOnDisc();
    const std::string before = ReadFile(ListPath("Fotky a hudba.sez"));
    Tree().SelectNode(Node({"Obrázky (1)", "Fotky a hudba"}));
    m_disc.MakeUnreadable(kRoot); // the drive is empty

    RescanThroughMenu();

    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].icon, QMessageBox::Warning);
    EXPECT_EQ(LastMessage(), QString::fromStdString(
                                 "Složku \"" + kRoot +
                                 "\" nelze otevřít; vložte disk, ze kterého byl seznam vytvořen. "
                                 "Seznam zůstal beze změny."));
    EXPECT_EQ(ReadFile(ListPath("Fotky a hudba.sez")), before);
    EXPECT_EQ(SelectedCaption(Tree()), "Fotky a hudba");
}

TEST_F(ListCommandsTest, WrongDiscAnsweredNoKeepsTheListAndYesReplacesIt) {
    StartOnDisc();
    const std::string before = ReadFile(ListPath("Fotky a hudba.sez"));
    Tree().SelectNode(Node({"Obrázky (1)", "Fotky a hudba"}));
    m_disc.AddFolder(kRoot, {FileEntry("Setup Ärzte-Edition.exe", 4096, At(2020, 2, 2, 2, 2, 2))});

    Dialogs::QueueAnswer(QMessageBox::No);
    RescanThroughMenu();
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(Dialogs::Shown()[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(LastMessage(), "Ze seznamu by zmizelo 11 z 11 položek, víc než polovina. Je vložen "
                             "správný disk?");
    EXPECT_EQ(ReadFile(ListPath("Fotky a hudba.sez")), before);

    Dialogs::QueueAnswer(QMessageBox::Yes);
    RescanThroughMenu();
    ASSERT_EQ(Dialogs::Shown().size(), 3u);
    EXPECT_TRUE(LastMessage().startsWith("Složky: přidáno 0, odebráno 4"))
        << LastMessage().toStdString();
    EXPECT_NE(ReadFile(ListPath("Fotky a hudba.sez")), before);
    EXPECT_EQ(Children(Node({"Obrázky (1)", "Fotky a hudba"})), QStringList());
}

// ---- deleting and regrouping lists through the tree ------------------------------------------

class Commands : public UiFixture {
protected:
    void AddTwoLists() {
        AddList("A.SEZ", {"E:\\\t0", "Folder\\\t0\t1\t1"});
        AddList("b.sez", {"E:\\\t0"});
        WriteSettings("[Seznamy]\r\nA.SEZ=2\r\nb.sez=2\r\n");
    }
    void PressKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&widget, static_cast<Qt::Key>(key), modifiers);
    }
    std::string Settings() { return ReadFile(m_dir / "settings.ini"); }
};

TEST_F(Commands, DeleteAsksOnlyForListNodes) {
    AddTwoLists();
    Start();
    Tree().setFocus();
    Tree().SelectNode(Node({"Gamesy (2)"}));
    PressKey(Tree(), Qt::Key_Delete);
    Tree().SelectNode(Node({"Gamesy (2)", "A.SEZ", "Folder"}));
    PressKey(Tree(), Qt::Key_Delete);
    EXPECT_TRUE(Dialogs::Shown().empty());

    Tree().SelectNode(Node({"Gamesy (2)", "A.SEZ"}));
    Dialogs::QueueAnswer(QMessageBox::No);
    PressKey(Tree(), Qt::Key_Delete);
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].text, "Opravdu chcete tento seznam nenávratně smazat?");
    EXPECT_EQ(Dialogs::Shown()[0].caption, "Vypisnik");
    EXPECT_EQ(Dialogs::Shown()[0].defaultButton, QMessageBox::No);
    EXPECT_TRUE(std::filesystem::exists(ListPath("A.SEZ")));

    Tree().SelectNode(Node({"Gamesy (2)", "A.SEZ"}));
    Dialogs::QueueAnswer(QMessageBox::Yes);
    PressKey(Tree(), Qt::Key_Delete);
    EXPECT_FALSE(std::filesystem::exists(ListPath("A.SEZ")));
    EXPECT_EQ(Settings(), "[Seznamy]\r\nb.sez=2\r\n"); // the key of the file name, in its case
    EXPECT_EQ(Children(Node({"Gamesy (1)"})), QStringList{"b"});
    EXPECT_EQ(Tree().SelectedNode(), Tree().FirstNode());
}

TEST_F(Commands, ListThatCannotBeDeletedKeepsItsGroupAndIsReported) {
    AddTwoLists();
    std::filesystem::remove(ListPath("b.sez"));
    std::filesystem::create_directory(ListPath("b.sez")); // a folder: unlink refuses it
    WriteFile(ListPath("b.sez") + "/inside", "x");
    AddList("c.sez", {"E:\\\t0"});
    WriteSettings("[Seznamy]\r\nA.SEZ=2\r\nc.sez=2\r\n");
    Start();
    std::filesystem::remove_all(ListPath("c.sez"));
    std::filesystem::create_directory(ListPath("c.sez"));
    WriteFile(ListPath("c.sez") + "/inside", "x");
    Tree().SelectNode(Node({"Gamesy (2)", "c"}));
    Dialogs::QueueAnswer(QMessageBox::Yes);
    PressKey(Tree(), Qt::Key_Delete);
    ASSERT_EQ(Dialogs::Shown().size(), 3u); // the unreadable list, the question, the refusal
    EXPECT_TRUE(Dialogs::Shown()[2].text.startsWith("Seznam se nepodařilo smazat"));
    EXPECT_EQ(Settings(), "[Seznamy]\r\nA.SEZ=2\r\nc.sez=2\r\n");
}

TEST_F(Commands, GroupPopupMovesListNodesOnly) {
    AddTwoLists();
    Start();
    auto* filmy = m_window->findChild<QAction*>("Filmy1");
    ASSERT_NE(filmy, nullptr);
    EXPECT_EQ(filmy->data().toInt(), 3);
    Tree().SelectNode(Node({"Gamesy (2)", "A.SEZ", "Folder"}));
    filmy->trigger();
    EXPECT_EQ(Settings(), "[Seznamy]\r\nA.SEZ=2\r\nb.sez=2\r\n");
    Tree().SelectNode(Node({"Gamesy (2)", "A.SEZ"}));
    filmy->trigger();
    EXPECT_EQ(Settings(), "[Seznamy]\r\nA.SEZ=3\r\nb.sez=2\r\n");
    EXPECT_EQ(Children(Node({"Filmy (1)"})), QStringList{"A.SEZ"});
    EXPECT_EQ(Tree().SelectedNode(), Tree().FirstNode());
    // The same group again still rebuilds the tree.
    Tree().SelectNode(Node({"Gamesy (1)", "b"}));
    m_window->findChild<QAction*>("Gamesy1")->trigger();
    EXPECT_EQ(Tree().SelectedNode(), Tree().FirstNode());
}

TEST_F(Commands, RightClickOpensTheGroupMenuWithoutMovingTheSelection) {
    AddTwoLists();
    Start();
    const NodeId group = Node({"Gamesy (2)"});
    Tree().expand(Tree().Model().IndexOf(group));
    QApplication::processEvents();
    const QRect list = Tree().visualRect(Tree().Model().IndexOf(Node({"Gamesy (2)", "b"})));
    QTest::mouseClick(Tree().viewport(), Qt::RightButton, Qt::NoModifier, list.center());
    EXPECT_EQ(Tree().SelectedNode(), group);
    auto* menu = m_window->findChild<QMenu*>("pmGroup");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    QStringList items;
    for (QAction* action : menu->actions()) {
        items.append(action->isSeparator() ? QStringLiteral("-") : action->objectName());
        // A group node cannot be rescanned nor compared; the group items are always there.
        EXPECT_EQ(action->isEnabled(), action->objectName() != "actRescanList" &&
                                           action->objectName() != "actCompareList");
    }
    EXPECT_EQ(items, (QStringList{"Gamesy1", "Filmy1", "Obrzky1", "Hudba1", "Programy1", "Ostatn1",
                                  "Neureno1", "-", "actRescanList", "actCompareList"}));
    menu->hide();
}

TEST_F(Commands, RefusedGroupWriteIsReportedAndTheTreeStays) {
    AddTwoLists();
    Start();
    ::chmod((m_dir / "settings.ini").c_str(), 0444);
    Tree().SelectNode(Node({"Gamesy (2)", "A.SEZ"}));
    m_window->findChild<QAction*>("Hudba1")->trigger();
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].text.toStdString(),
              "Unable to write to " + (m_dir / "settings.ini") + ".");
    EXPECT_EQ(Children(Node({"Gamesy (2)"})), (QStringList{"A.SEZ", "b"}));
}

TEST_F(Commands, ListNamesSettingsCannotKeepStayUndeterminedAndSayWhy) {
    AddList("[fLV].sez", {"E:\\\t0"});
    AddList("Hry=2.sez", {"E:\\\t0"});
    const std::string settings = "[fLV]\r\nTop=10\r\n[Seznamy]\r\nHry=2\r\n";
    WriteSettings(settings);
    Start();
    EXPECT_EQ(Children(Node({"Neurčeno (2)"})), (QStringList{"Hry=2", "[fLV]"}));
    for (const char* list : {"[fLV]", "Hry=2"}) {
        Dialogs::StartScript();
        Tree().SelectNode(Node({"Neurčeno (2)", list}));
        m_window->findChild<QAction*>("Hudba1")->trigger();
        ASSERT_EQ(Dialogs::Shown().size(), 1u) << list;
        EXPECT_TRUE(Dialogs::Shown()[0].text.startsWith(QStringLiteral("Název \"%1.sez\" nelze "
                                                                       "uložit do souboru")
                                                            .arg(list)))
            << Dialogs::Shown()[0].text.toStdString();
        EXPECT_EQ(Settings(), settings);
    }
    EXPECT_EQ(Children(Node({"Neurčeno (2)"})), (QStringList{"Hry=2", "[fLV]"}));
}

} // namespace
} // namespace vyp::test
