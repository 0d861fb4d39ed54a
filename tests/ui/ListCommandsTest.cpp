#include "UiFixture.h"

#include "scan/FolderScan.h"
#include "ui/common/FileTable.h"
#include "ui/common/SaveFilePicker.h"
#include "ui/find_u/TfFind.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <sys/stat.h>

namespace vyp::test {
namespace {

const std::string kRoot = Native("/media/cdrom/");

// A photo and music disc with names of several languages.
void AddDisc(FakeDirectoryWalker& walker) {
    walker.AddFolder(kRoot, {FileEntry("Übersicht 2024.v2.pdf", 5120, At(2024, 3, 1, 8, 0, 0)),
                             FolderEntry("Fotky z Brna", At(2023, 9, 2, 10, 0, 0)),
                             FolderEntry("Музыка", At(2022, 1, 5, 20, 15, 4)),
                             FolderEntry("写真", At(2021, 7, 7, 7, 7, 6))});
    walker.AddFolder(kRoot + Native("Fotky z Brna/"),
                     {FileEntry("Špilberk západ.JPG", 3000000, At(2023, 9, 1, 19, 30, 0)),
                      FileEntry("Petrov ráno.jpg", 2500000, At(2023, 9, 2, 6, 45, 10)),
                      FolderEntry("Léto 2023", At(2023, 8, 1, 0, 0, 0))});
    walker.AddFolder(kRoot + Native("Fotky z Brna/Léto 2023/"),
                     {FileEntry("Château de Lednice.tar.gz", 800000, At(2023, 7, 30, 12, 0, 0)),
                      FileEntry("Hôtel d'Été, \"pokoj\" 12.jpg", 90000, At(2023, 7, 31, 8, 0, 0))});
    walker.AddFolder(kRoot + Native("Музыка/"),
                     {FileEntry("Кино - Группа крови.mp3", 4400000, At(2022, 1, 5, 20, 15, 4))});
    walker.AddFolder(kRoot + Native("写真/"),
                     {FileEntry("東京タワー.png", 1200000, At(2021, 7, 7, 7, 7, 6))});
}

// The disc in the drive is a fake one; the data folder with its lists is on the real disk.
class DiscDrive final : public DirectoryWalker {
public:
    bool ListFolder(const std::string& folderPath, std::vector<DirectoryEntry>& entries) override {
        if (folderPath.starts_with(kRoot))
            return disc.ListFolder(folderPath, entries);
        return disk.ListFolder(folderPath, entries);
    }
    FakeDirectoryWalker disc;
    NativeDirectoryWalker disk;
};

const QStringList kLetoNode = {"Obrázky (1)", "Fotky a hudba", "Fotky z Brna", "Léto 2023"};

class ListCommandsTest : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        SaveFilePicker::StartScript();
        AddDisc(m_disc);
        ScanLines lines;
        CreateList(m_disc, kRoot, ListPath("Fotky a hudba.sez"), {}, lines);
        WriteSettings("[Seznamy]\nFotky a hudba.sez=4\n");
    }
    // The main window over the disc of m_disc, as the program starts it.
    TfLV& StartOnDisc() { return Start(&m_drive); }
    TfFind& OpenSearchOnDisc() {
        StartOnDisc();
        return OpenSearch();
    }
    void Search(const QString& text) {
        // In the lists of "Obrázky".
        m_find->findChild<QCheckBox*>(QStringLiteral("CheckBox3"))->setChecked(true);
        m_find->findChild<QLineEdit*>(QStringLiteral("edtFind"))->setText(text);
        QTest::mouseClick(m_find->findChild<QToolButton*>(QStringLiteral("btnFind")),
                          Qt::LeftButton);
    }
    FileTable& Results() { return *m_find->findChild<FileTable*>(QStringLiteral("VSTFind")); }
    // Selects the result whose "Soubor / složka" cell is path.
    void SelectResult(const QString& path) {
        TreeGridModel& model = Results().Model();
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.data(model.index(row, 1), Qt::DisplayRole).toString() == path) {
                Results().SelectNode(Results().ChildAt(kNoNode, row));
                return;
            }
        ADD_FAILURE() << "no result " << path.toStdString();
    }

    // Opens the tree's popup menu on the selected node and chooses "Obnovit seznam".
    void RescanThroughMenu() {
        QMenu* menu = m_window->findChild<QMenu*>(QStringLiteral("pmGroup"));
        emit Tree().customContextMenuRequested(QPoint(5, 5));
        QAction* rescan = m_window->findChild<QAction*>(QStringLiteral("actRescanList"));
        ASSERT_TRUE(rescan->isEnabled());
        rescan->trigger();
        menu->hide();
    }
    QString SelectedCaption(TreeGrid& grid, int column = 0) {
        const NodeId node = grid.SelectedNode();
        if (node == kNoNode)
            return {};
        return grid.Model().data(grid.Model().IndexOf(node, column), Qt::DisplayRole).toString();
    }
    QString LastMessage() {
        return Dialogs::Shown().empty() ? QString() : Dialogs::Shown().back().text;
    }

    DiscDrive m_drive;
    FakeDirectoryWalker& m_disc = m_drive.disc;
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

// ---- going from a search hit to its folder ---------------------------------------------------

TEST_F(ListCommandsTest, EnterOnAHitInANestedFolderSelectsItsFolderAndFile) {
    OpenSearchOnDisc();
    Search("lednice");
    SelectResult("Fotky z Brna\\Léto 2023\\Château de Lednice.tar.gz");
    QTest::keyClick(&Results(), Qt::Key_Return);

    EXPECT_TRUE(Dialogs::Shown().empty()) << LastMessage().toStdString();
    EXPECT_EQ(Tree().SelectedNode(), Node(kLetoNode));
    EXPECT_TRUE(Tree().isExpanded(Tree().Model().IndexOf(Node(kLetoNode)).parent()));
    EXPECT_EQ(Table().size(), 2);
    EXPECT_EQ(SelectedCaption(View()), "Château de Lednice.tar.gz");
}

TEST_F(ListCommandsTest, DoubleClickOnAHitInTheRootSelectsTheListAndFile) {
    OpenSearchOnDisc();
    Search("Übersicht 2024");
    ASSERT_EQ(Results().Model().rowCount(), 1);
    const QModelIndex hit = Results().Model().index(0, 1);
    const QPoint at = Results().visualRect(hit).center();
    QTest::mouseClick(Results().viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(Results().viewport(), Qt::LeftButton, Qt::NoModifier, at);

    EXPECT_TRUE(Dialogs::Shown().empty()) << LastMessage().toStdString();
    EXPECT_EQ(Tree().SelectedNode(), Node({"Obrázky (1)", "Fotky a hudba"}));
    EXPECT_EQ(SelectedCaption(View()), "Übersicht 2024.v2.pdf");
}

TEST_F(ListCommandsTest, GoingToAFolderHitThroughTheMenuSelectsThatFolder) {
    OpenSearchOnDisc();
    Search("léto");
    SelectResult("Fotky z Brna\\Léto 2023\\");
    m_find->findChild<QAction*>(QStringLiteral("actGoToFolder"))->trigger();

    EXPECT_TRUE(Dialogs::Shown().empty()) << LastMessage().toStdString();
    EXPECT_EQ(Tree().SelectedNode(), Node(kLetoNode));
}

TEST_F(ListCommandsTest, AHitInAListChangedSinceTheSearchIsNotShown) {
    OpenSearchOnDisc();
    Search("lednice");
    Tree().SelectNode(Node({"Obrázky (1)"}));
    SelectResult("Fotky z Brna\\Léto 2023\\Château de Lednice.tar.gz");
    std::string changed = ReadFile(ListPath("Fotky a hudba.sez"));
    changed += "Poznámka.txt\t5\t2024.1.1\t1:00.00\r\n";
    WriteFile(ListPath("Fotky a hudba.sez"), changed);

    QTest::keyClick(&Results(), Qt::Key_Enter);

    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(LastMessage(), "Seznam „Fotky a hudba“ byl od hledání smazán nebo změněn.\r\n"
                             "Obnovte seznamy a hledejte znovu.");
    EXPECT_EQ(Tree().SelectedNode(), Node({"Obrázky (1)"}));

    std::filesystem::remove(FsPath(ListPath("Fotky a hudba.sez")));
    QTest::keyClick(&Results(), Qt::Key_Enter);
    EXPECT_EQ(Dialogs::Shown().size(), 2u);
}

// ---- saving the tables as CSV ----------------------------------------------------------------

TEST_F(ListCommandsTest, FileTableSavedAsCsvInTheOrderShown) {
    StartOnDisc();
    Tree().SelectNode(Node(kLetoNode));
    // Largest first.
    static_cast<FileTable&>(View()).HeaderClick(FolderContents::Velikost, Qt::LeftButton);
    static_cast<FileTable&>(View()).HeaderClick(FolderContents::Velikost, Qt::LeftButton);
    const std::string target = m_dir / "Léto, 2023.csv";
    SaveFilePicker::QueueFile(QString::fromStdString(target));
    emit View().customContextMenuRequested(QPoint(5, 5));
    m_window->findChild<QAction*>(QStringLiteral("actSaveViewCsv"))->trigger();
    m_window->findChild<QMenu*>(QStringLiteral("pmView"))->hide();

    ASSERT_EQ(SaveFilePicker::Asked().size(), 1u);
    EXPECT_EQ(SaveFilePicker::Asked()[0].caption, "Uložit jako CSV");
    EXPECT_EQ(SaveFilePicker::Asked()[0].suggestedName, "Léto 2023.csv");
    EXPECT_TRUE(Dialogs::Shown().empty()) << LastMessage().toStdString();
    ASSERT_EQ(Table()[0], "Château de Lednice.tar.gz|0,76 MB|800000 B|2023.7.30|12:0:0");
    EXPECT_EQ(
        ReadFile(target),
        "Soubor,Velikost,Přesná velikost,Datum,Čas,Velikost v bajtech\r\n"
        "Château de Lednice.tar.gz,\"0,76 MB\",800000 B,2023.7.30,12:0:0,800000\r\n"
        "\"Hôtel d'Été, \"\"pokoj\"\" 12.jpg\",\"0,09 MB\",90000 B,2023.7.31,8:0:0,90000\r\n");
}

TEST_F(ListCommandsTest, SearchResultsSavedAsCsvAndACancelWritesNothing) {
    OpenSearchOnDisc();
    Search("pokoj");
    ASSERT_EQ(Results().Model().rowCount(), 1);
    const std::string target = m_dir / "výsledky.csv";

    SaveFilePicker::QueueCancel();
    m_find->findChild<QAction*>(QStringLiteral("actSaveFoundCsv"))->trigger();
    EXPECT_FALSE(std::filesystem::exists(FsPath(target)));

    SaveFilePicker::QueueFile(QString::fromStdString(target));
    m_find->findChild<QAction*>(QStringLiteral("actSaveFoundCsv"))->trigger();
    EXPECT_TRUE(Dialogs::Shown().empty()) << LastMessage().toStdString();
    const std::string csv = ReadFile(target);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "Seznam,Soubor / složka,Velikost,Přesná velikost,Datum,Čas,Velikost v bajtech");
    EXPECT_NE(csv.find("\r\nFotky a hudba,\"Fotky z Brna\\Léto 2023\\Hôtel d'Été, \"\"pokoj\"\" "
                       "12.jpg\","),
              std::string::npos)
        << csv;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2);
}

TEST_F(ListCommandsTest, AFileThatCannotBeWrittenIsReported) {
    StartOnDisc();
    Tree().SelectNode(Node(kLetoNode));
    SaveFilePicker::QueueFile(QString::fromStdString(m_dir / "Není tu/tabulka.csv"));
    m_window->findChild<QAction*>(QStringLiteral("actSaveViewCsv"))->trigger();
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].caption, "Vypisnik");
    EXPECT_EQ(Dialogs::Shown()[0].icon, QMessageBox::Critical);
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
