#include "UiFixture.h"

#include "ui/common/SaveFilePicker.h"
#include "ui/duplicates_u/TfDuplicates.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace vyp::test {
namespace {

// Lines of text that a failure prints readably.
std::string Lines(const QStringList& lines) {
    return lines.join(QLatin1Char('\n')).toStdString();
}

class DuplicatesWindowTest : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        SaveFilePicker::StartScript();
        // Photos and their backup (group "Obrázky"), games and their copy ("Gamesy"): the same
        // files under names in other letter case, an empty file twice, and "cisla.txt", which
        // is another name than "čísla.txt".
        AddList("Fotky 2023.sez",
                {"E:\\\t3007000", "Čísla.TXT\t7000\t2023.1.2\t10:0.0",
                 "Léto\\\t3000000\t2023.9.2\t10:0.0", "Špilberk.JPG\t3000000\t2023.9.1\t19:30.0",
                 "prázdný.txt\t0\t2023.9.1\t19:30.0"});
        AddList("Záloha fotek.sez",
                {"F:\\\t3014000", "čísla.txt\t7000\t2023.1.2\t10.0.0",
                 "cisla.txt\t7000\t2023.1.2\t10.0.0", "Archiv\\\t3000000\t2024.1.1\t8.0.0",
                 "ŠPILBERK.jpg\t3000000\t2023.9.1\t19.30.0", "prázdný.txt\t0\t2023.9.1\t19.30.0"});
        AddList("Hry.sez", {"G:\\\t5010", "Straße.doc\t10\t2005.6.7\t8:9.10",
                            "写真\\\t5000\t2021.7.7\t7:7:6", "東京.png\t5000\t2021.7.7\t7:7.6"});
        AddList("Hry kopie.sez",
                {"H:\\\t5010", "STRASSE.DOC\t10\t2005.6.7\t8:9.10", "写真\\\t5000\t2021.7.7\t7:7:6",
                 "東京.png\t5000\t2021.7.7\t7:7.6"});
        WriteSettings("[Seznamy]\r\nFotky 2023.sez=4\r\nZáloha fotek.sez=4\r\nHry.sez=2\r\n"
                      "Hry kopie.sez=2\r\n");
        Start();
        OpenDuplicates();
    }

    TfDuplicates& Window() { return *m_duplicates; }
    TreeGrid& Sets() { return *Window().findChild<TreeGrid*>(QStringLiteral("VSTDuplicates")); }
    void Find() {
        QTest::mouseClick(Window().findChild<QPushButton*>(QStringLiteral("btnFind")),
                          Qt::LeftButton);
    }
    // A node's cells, separated by "|".
    QString Cells(NodeId node) {
        QStringList cells;
        TreeGridModel& model = Sets().Model();
        for (int column = 0; column < model.columnCount(); ++column)
            cells.append(model.data(model.IndexOf(node, column), Qt::DisplayRole).toString());
        return cells.join(QLatin1Char('|'));
    }
    QStringList SetCaptions() {
        QStringList captions;
        for (int row = 0; row < Sets().ChildCount(kNoNode); ++row)
            captions.append(Cells(Sets().ChildAt(kNoNode, row)).section('|', 0, 0));
        return captions;
    }
    QStringList Copies(int set) {
        QStringList copies;
        const NodeId node = Sets().ChildAt(kNoNode, set);
        for (int row = 0; row < Sets().ChildCount(node); ++row)
            copies.append(Cells(Sets().ChildAt(node, row)));
        return copies;
    }
    QString Status(int panel) {
        return Window().findChild<StatusPanels*>(QStringLiteral("sbDuplicates"))->Text(panel);
    }
};

TEST_F(DuplicatesWindowTest, FindsTheSetsOfAllGroupsMostWastedFirstWithTheirCopies) {
    EXPECT_TRUE(Window().isVisible()) << "Ctrl+D shows it";
    EXPECT_EQ(Window().windowTitle(), "Duplicity");
    EXPECT_EQ(Status(0), "Sad: 0");
    Find();
    EXPECT_EQ(Lines(SetCaptions()),
              Lines((QStringList{"2×  Špilberk.JPG  2,86 MB", "2×  Čísla.TXT  0,01 MB",
                                 "2×  東京.png  0,00 MB", "2×  STRASSE.DOC  0,00 MB"})));
    EXPECT_EQ(Cells(Sets().ChildAt(kNoNode, 0)).toStdString(),
              "2×  Špilberk.JPG  2,86 MB|2|2,86 MB||2,86 MB||");
    EXPECT_EQ(Lines(Copies(0)),
              Lines((QStringList{"Léto\\Špilberk.JPG|||Fotky 2023|2,86 MB|2023.9.1|19:30:0",
                                 "Archiv\\ŠPILBERK.jpg|||Záloha fotek|2,86 MB|2023.9.1|"
                                 "19:30:0"})));
    EXPECT_EQ(Copies(3).size(), 2);
    EXPECT_EQ(Status(0), "Sad: 4");
    EXPECT_EQ(Status(1), "Zbytečně zabráno: 2,87 MB");
    // Each copy shows its file type's picture.
    TreeGridModel& model = Sets().Model();
    EXPECT_FALSE(
        model.data(model.IndexOf(Sets().ChildAt(Sets().ChildAt(kNoNode, 0), 0)), Qt::DecorationRole)
            .isNull());
}

TEST_F(DuplicatesWindowTest, TheGroupsTickedAndTheSmallestSizeChooseWhatCounts) {
    Window().findChild<QCheckBox*>(QStringLiteral("CheckBox3"))->setChecked(false); // Obrázky
    Find();
    EXPECT_EQ(Lines(SetCaptions()),
              Lines((QStringList{"2×  東京.png  0,00 MB", "2×  STRASSE.DOC  0,00 MB"})));
    // 0.01 MB is 10,486 bytes: the games' files are smaller.
    Window().findChild<QCheckBox*>(QStringLiteral("CheckBox3"))->setChecked(true);
    Window().findChild<QDoubleSpinBox*>(QStringLiteral("edtMinSize"))->setValue(0.01);
    Find();
    EXPECT_EQ(Lines(SetCaptions()), Lines(QStringList{"2×  Špilberk.JPG  2,86 MB"}));
    EXPECT_EQ(Status(0), "Sad: 1");
}

TEST_F(DuplicatesWindowTest, SortsTheSetsByNameAndWasteAndSavesThemInTheOrderShown) {
    Find();
    emit Sets().HeaderClicked(0, Qt::LeftButton);
    EXPECT_EQ(Lines(SetCaptions()),
              Lines((QStringList{"2×  Čísla.TXT  0,01 MB", "2×  STRASSE.DOC  0,00 MB",
                                 "2×  Špilberk.JPG  2,86 MB", "2×  東京.png  0,00 MB"})));
    // The copies keep the order of their lists whichever way the sets go.
    emit Sets().HeaderClicked(0, Qt::LeftButton);
    EXPECT_EQ(SetCaptions().first().toStdString(), "2×  東京.png  0,00 MB");
    EXPECT_EQ(Copies(3)[0].section('|', 0, 0).toStdString(), "E:\\Čísla.TXT");
    emit Sets().HeaderClicked(0, Qt::RightButton); // only the left button sorts
    EXPECT_EQ(SetCaptions().first().toStdString(), "2×  東京.png  0,00 MB");

    const std::string csv = m_dir / "duplicity.csv";
    SaveFilePicker::QueueFile(QString::fromStdString(csv));
    Window().findChild<QAction*>(QStringLiteral("actSaveDuplicatesCsv"))->trigger();
    ASSERT_EQ(SaveFilePicker::Asked().size(), 1u);
    EXPECT_EQ(SaveFilePicker::Asked()[0].suggestedName, "Duplicity.csv");
    // Numbered in the order shown; each set's copies in the order of their lists.
    EXPECT_EQ(
        ReadFile(csv),
        "Sada,Seznam,Soubor / složka,Velikost,Přesná velikost,Datum,Čas,Velikost v bajtech\r\n"
        "1,Hry kopie,写真\\東京.png,\"0,00 MB\",5000 B,2021.7.7,7:7:6,5000\r\n"
        "1,Hry,写真\\東京.png,\"0,00 MB\",5000 B,2021.7.7,7:7:6,5000\r\n"
        "2,Fotky 2023,Léto\\Špilberk.JPG,\"2,86 MB\",3000000 B,2023.9.1,19:30:0,3000000\r\n"
        "2,Záloha fotek,Archiv\\ŠPILBERK.jpg,\"2,86 MB\",3000000 B,2023.9.1,19:30:0,"
        "3000000\r\n"
        "3,Hry kopie,H:\\STRASSE.DOC,\"0,00 MB\",10 B,2005.6.7,8:9:10,10\r\n"
        "3,Hry,G:\\Straße.doc,\"0,00 MB\",10 B,2005.6.7,8:9:10,10\r\n"
        "4,Fotky 2023,E:\\Čísla.TXT,\"0,01 MB\",7000 B,2023.1.2,10:0:0,7000\r\n"
        "4,Záloha fotek,F:\\čísla.txt,\"0,01 MB\",7000 B,2023.1.2,10:0:0,7000\r\n");

    // Another column: the most wasted first, then flipped.
    emit Sets().HeaderClicked(DuplicateNodes::Zbytecne, Qt::LeftButton);
    EXPECT_EQ(SetCaptions().first().toStdString(), "2×  Špilberk.JPG  2,86 MB");
    emit Sets().HeaderClicked(DuplicateNodes::Zbytecne, Qt::LeftButton);
    EXPECT_EQ(SetCaptions().first().toStdString(), "2×  STRASSE.DOC  0,00 MB");
}

TEST_F(DuplicatesWindowTest, EnterOnACopyGoesToItsFolderAndASetGoesNowhere) {
    Find();
    const NodeId set = Sets().ChildAt(kNoNode, 0);
    Sets().SelectNode(set);
    QTest::keyClick(&Sets(), Qt::Key_Return);
    EXPECT_TRUE(Dialogs::Shown().empty());
    Sets().SelectNode(Sets().ChildAt(set, 1)); // ŠPILBERK.jpg in the backup's "Archiv"
    QTest::keyClick(&Sets(), Qt::Key_Return);
    EXPECT_EQ(Tree().SelectedNode(), Node({"Obrázky (2)", "Záloha fotek", "Archiv"}));
    ASSERT_NE(View().SelectedNode(), kNoNode);
    EXPECT_EQ(View().Model().data(View().Model().IndexOf(View().SelectedNode()), Qt::DisplayRole),
              "ŠPILBERK.jpg");

    // A list changed since the search: said so, nothing changes.
    AddList("Záloha fotek.sez", {"F:\\\t0"});
    Window().findChild<QAction*>(QStringLiteral("actGoToFolder"))->trigger();
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].text, "Seznam „Záloha fotek“ byl od hledání smazán nebo změněn."
                                        "\r\nObnovte seznamy a hledejte znovu.");
}

TEST_F(DuplicatesWindowTest, TheMenuOffersGoingOnlyWithACopySelected) {
    Find();
    auto offered = [this](const char* action) {
        return OfferedByRightClick(Sets(), Window(), "pmDuplicates", action);
    };
    EXPECT_FALSE(offered("actGoToFolder")) << "nothing selected";
    EXPECT_TRUE(offered("actSaveDuplicatesCsv"));
    const NodeId set = Sets().ChildAt(kNoNode, 1);
    Sets().SelectNode(set);
    EXPECT_FALSE(offered("actGoToFolder")) << "a set";
    Sets().SelectNode(Sets().ChildAt(set, 0));
    EXPECT_TRUE(offered("actGoToFolder")) << "a copy";
    Sets().SelectNode(kNoNode);
    EXPECT_FALSE(offered("actGoToFolder")) << "nothing selected again";
}

TEST_F(DuplicatesWindowTest, TheToolButtonShowsItAndItsPlaceIsSaved) {
    Window().hide();
    auto* button = m_window->findChild<QToolButton*>(QStringLiteral("btnDuplicates"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), "Najít duplicitní soubory");
    button->click();
    EXPECT_TRUE(Window().isVisible());
    Window().setGeometry(40, 50, 700, 400);
    m_window->close();
    const std::string settings = ReadFile(m_dir / "settings.ini");
    EXPECT_NE(settings.find("[fDuplicates]\r\n"), std::string::npos) << settings;
}

} // namespace
} // namespace vyp::test
