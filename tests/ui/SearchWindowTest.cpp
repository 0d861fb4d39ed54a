#include "PhotoDisc.h"
#include "ScarceMemory.h"

#include "lists/SettingsFile.h"
#include "qtcore/NameCollator.h"
#include "search/ListSearch.h"
#include "search/SearchRowsCsv.h"
#include "ui/common/CursorPosition.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FileTable.h"
#include "ui/common/SaveFilePicker.h"
#include "ui/find_u/TfFind.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <numeric>

namespace vyp::test {
namespace {

// Three lists on three groups. Enumerated, "Hudba – Mötley" comes before "České filmy" (bytes
// of "Č" after "H"); by the Czech collation "Č" comes after "C" and before "H".
const std::vector<std::string> kFilms = {
    "E:\\\t5368709120",
    "Amélie.avi\t734003200\t2004.10.3\t21:05.44",
    "Amélie\\\t4634705920\t2004.10.3\t21:05.44",
    "Le Fabuleux Destin d'Amélie Poulain.2001.CZ.mkv\t4634705920\t2004.10.3\t21:05.44",
    "Žádný film\\\t0\t2005.1.1\t1:00.00",
    "Tři oříšky pro Popelku.avi\t700000000\t2005.1.1\t1:00.00",
};
const std::vector<std::string> kMusic = {
    "D:\\Zálohy\\Amélie\\\t3221225472",
    "amélie.cue\t1048576\t2001.4.23\t10:15.30",
    "Яна Тирсен\\\t3221224448\t2001.4.23\t10:15.30",
    "Amélie – 日本盤.flac\t2048\t2001.4.23\t10:15.30",
    "Amélie – bonus.txt\tneznámá\t2001.4.23\t10:15.30",
};
const std::vector<std::string> kPrograms = {
    "C:\\Program Files\\\t4096",
    "Amélie Screensaver.exe\t4096\t2003.3.3\t3:03.03",
};

class SearchWindowTest : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        AddList("České filmy.sez", kFilms);
        AddList("Hudba – Mötley.sez", kMusic);
        AddList("Programy.sez", kPrograms);
        WriteSettings("[Seznamy]\nČeské filmy.sez=3\nHudba – Mötley.sez=5\nProgramy.sez=6\n");
    }
    void TearDown() override {
        CursorPosition::Release();
        UiFixture::TearDown();
    }

    // The main window as the program starts it, and the search window attached and shown.
    TfFind& Open() {
        Start();
        return OpenSearch();
    }

    template <typename T> T& Child(const char* name) {
        T* child = m_find->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(child, nullptr) << name;
        return *child;
    }
    QWidget& Panel() { return Child<QWidget>("pnlFind"); }
    FileTable& Results() { return Child<FileTable>("VSTFind"); }
    StatusPanels& Status() { return Child<StatusPanels>("sbFind"); }

    // Puts the pointer at (x, y) of the filter panel's corner and lets the timer tick.
    void PointAt(int x, int y) {
        CursorPosition::Place(Panel().mapToGlobal(QPoint(0, 0)) + QPoint(x, y));
        QTest::qWait(80);
    }
    // Ticks groups (2..8) through the filter panel, as a user does, and leaves it.
    void TickGroups(std::initializer_list<int> groups) {
        PointAt(18, 18);
        for (int group : groups)
            QTest::mouseClick(&Child<QCheckBox>(("CheckBox" + std::to_string(group - 1)).c_str()),
                              Qt::LeftButton);
        PointAt(300, 300);
    }
    // Types text key by key (accented letters too, which QTest::keyClicks cannot).
    static void Type(QLineEdit& edit, const QString& text) {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void Search(const QString& text) {
        QLineEdit& edit = Child<QLineEdit>("edtFind");
        edit.clear();
        Type(edit, text);
        QTest::mouseClick(&Child<QToolButton>("btnFind"), Qt::LeftButton);
    }

    QStringList Rows(int firstColumn = 0, int lastColumn = 5) {
        return UiFixture::Rows(Results(), firstColumn, lastColumn);
    }
    QStringList Paths() { return Rows(1, 1); }
    QString Counts() { return Status().Text(0) + " / " + Status().Text(1); }

    void ClickHeader(int column, Qt::MouseButton button = Qt::LeftButton) {
        QHeaderView* header = Results().header();
        QTest::mouseClick(
            header->viewport(), button, Qt::NoModifier,
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
};

TEST_F(SearchWindowTest, StartsCollapsedUntickedAndFindsNothingWithoutGroupsOrText) {
    Open();
    EXPECT_EQ(m_find->windowTitle(), QString("Výsledky hledání"));
    EXPECT_EQ(Counts(), QString("Nalezených souborů: / Nalezených adresářů:"));
    EXPECT_EQ(Results().Model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString("Soubor / složka"));

    Search("Amélie"); // no group is ticked at start
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_EQ(Counts(), QString("Nalezených souborů: 0 / Nalezených adresářů: 0"));

    TickGroups({3, 5});
    Search("Amélie");
    EXPECT_EQ(Rows().size(), 7);
    Search(""); // an empty text empties the table
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_EQ(Counts(), QString("Nalezených souborů: 0 / Nalezených adresářů: 0"));
}

TEST_F(SearchWindowTest, FindsInTheTickedGroupsWithPathsSizesAndPicturesByListName) {
    Open();
    TickGroups({3, 5}); // "Filmy" and "Hudba"; "Programy" stays unticked
    Search("amélie");
    EXPECT_EQ(Rows(), (QStringList{
                          "České filmy|E:\\Amélie.avi|700,00 MB|734003200 B|2004.10.3|21:05:44",
                          "České filmy|Amélie\\|4420,00 MB|4634705920 B|2004.10.3|21:05:44",
                          "České filmy|Amélie\\Le Fabuleux Destin d'Amélie Poulain.2001.CZ.mkv|"
                          "4420,00 MB|4634705920 B|2004.10.3|21:05:44",
                          "Hudba – Mötley|D:\\Zálohy\\Amélie\\|3072,00 MB|3221225472 B||",
                          "Hudba – Mötley|D:\\Zálohy\\Amélie\\amélie.cue|1,00 MB|1048576 B|"
                          "2001.4.23|10:15:30",
                          "Hudba – Mötley|Яна Тирсен\\Amélie – 日本盤.flac|0,00 MB|2048 B|"
                          "2001.4.23|10:15:30",
                          "Hudba – Mötley|Яна Тирсен\\Amélie – bonus.txt||neznámá B|2001.4.23|"
                          "10:15:30",
                      }));
    EXPECT_EQ(Counts(), QString("Nalezených souborů: 5 / Nalezených adresářů: 2"));

    // The list picture in "Seznam"; the folder picture for folder rows, the type's for files.
    auto& model = Results().Model();
    auto image = [&](int row, int column) {
        return model.data(model.index(row, column), Qt::DecorationRole).value<QIcon>();
    };
    const ImageList& imgS = m_window->IconCache().ImgS();
    EXPECT_EQ(image(0, 0).cacheKey(), imgS.At(ExtensionIconCache::kListPicture).cacheKey());
    EXPECT_EQ(image(1, 1).cacheKey(), imgS.At(ExtensionIconCache::kFolderPicture).cacheKey());
    EXPECT_EQ(image(3, 1).cacheKey(), imgS.At(ExtensionIconCache::kFolderPicture).cacheKey());
    EXPECT_NE(image(0, 1).cacheKey(), imgS.At(ExtensionIconCache::kFolderPicture).cacheKey());
    EXPECT_TRUE(image(0, 2).isNull());
    // Each file type asked once, whatever the number of rows.
    EXPECT_EQ(m_icons.asked.count("avi"), 1);
    EXPECT_EQ(m_icons.asked.count("flac"), 1);
}

TEST_F(SearchWindowTest, HeaderClicksSortAndFlipWhileDateAndRightClicksKeepTheOrder) {
    Open();
    TickGroups({3, 5});
    Search("amélie");
    ClickHeader(1);
    const QStringList ascending = {"Amélie\\",
                                   "Amélie\\Le Fabuleux Destin d'Amélie Poulain.2001.CZ.mkv",
                                   "D:\\Zálohy\\Amélie\\",
                                   "D:\\Zálohy\\Amélie\\amélie.cue",
                                   "E:\\Amélie.avi",
                                   "Яна Тирсен\\Amélie – bonus.txt",
                                   "Яна Тирсен\\Amélie – 日本盤.flac"};
    EXPECT_EQ(Paths(), ascending);
    ClickHeader(1);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    EXPECT_EQ(Paths(), descending);
    ClickHeader(4); // "Datum": the sort column changes, the order does not
    EXPECT_EQ(Paths(), descending);
    ClickHeader(0, Qt::RightButton);
    EXPECT_EQ(Paths(), descending);
    EXPECT_EQ(Results().SortColumn(), 4);

    // Sizes as 64-bit numbers; a size that is no number before every number.
    ClickHeader(2);
    EXPECT_EQ(Rows(1, 3), (QStringList{
                              "Яна Тирсен\\Amélie – bonus.txt||neznámá B",
                              "Яна Тирсен\\Amélie – 日本盤.flac|0,00 MB|2048 B",
                              "D:\\Zálohy\\Amélie\\amélie.cue|1,00 MB|1048576 B",
                              "E:\\Amélie.avi|700,00 MB|734003200 B",
                              "D:\\Zálohy\\Amélie\\|3072,00 MB|3221225472 B",
                              // equal sizes keep the order they had (by path, descending)
                              "Amélie\\Le Fabuleux Destin d'Amélie Poulain.2001.CZ.mkv|4420,00 "
                              "MB|4634705920 B",
                              "Amélie\\|4420,00 MB|4634705920 B",
                          }));
    ClickHeader(0); // by list again: within a list the rows keep their order by size
    EXPECT_EQ(Paths(),
              (QStringList{"E:\\Amélie.avi",
                           "Amélie\\Le Fabuleux Destin d'Amélie Poulain.2001.CZ.mkv", "Amélie\\",
                           "Яна Тирсен\\Amélie – bonus.txt", "Яна Тирсен\\Amélie – 日本盤.flac",
                           "D:\\Zálohy\\Amélie\\amélie.cue", "D:\\Zálohy\\Amélie\\"}));

    // A new search keeps the sort the user chose.
    ClickHeader(3);
    ClickHeader(3);
    Search("amélie");
    EXPECT_EQ(Paths().first(), "Amélie\\");
    EXPECT_EQ(Paths().last(), "Яна Тирсен\\Amélie – bonus.txt");
}

TEST_F(SearchWindowTest, FilterPanelOpensStrictlyInsideAndClosesOnePixelOutside) {
    Open();
    QWidget& panel = Panel();
    QLabel& globe = Child<QLabel>("Image8");
    auto collapsed = [&] {
        return panel.size() == QSize(36, 36) && globe.isVisible() &&
               !Child<QCheckBox>("CheckBox1").isVisible() && !Child<QLabel>("Image7").isVisible();
    };
    auto expanded = [&] {
        return panel.size() == QSize(136, 136) && !globe.isVisible() &&
               Child<QCheckBox>("CheckBox7").isVisible() && Child<QLabel>("Image1").isVisible();
    };
    EXPECT_EQ(panel.pos(), QPoint(2, 2));
    ASSERT_TRUE(collapsed());
    PointAt(0, 18); // on the left border line
    EXPECT_TRUE(collapsed());
    PointAt(36, 36); // on the corner of the collapsed panel
    EXPECT_TRUE(collapsed());
    PointAt(35, 1);
    EXPECT_TRUE(expanded());
    EXPECT_EQ(Child<QCheckBox>("CheckBox7").text(), QString("Neurčeno"));
    PointAt(136, 100); // on the right border line of the open panel
    EXPECT_TRUE(expanded());
    PointAt(100, 136);
    EXPECT_TRUE(expanded());
    PointAt(137, 100);
    EXPECT_TRUE(collapsed());
    PointAt(20, 20);
    EXPECT_TRUE(expanded());
    PointAt(-1, 20);
    EXPECT_TRUE(collapsed());

    // A window lying over the corner does not matter: only the position counts.
    QWidget cover;
    cover.setGeometry(QRect(m_find->mapToGlobal(QPoint(0, 0)), QSize(200, 200)));
    cover.show();
    PointAt(10, 10);
    EXPECT_TRUE(expanded());
}

TEST_F(SearchWindowTest, TheTimerRunsExactlyWhileTheWindowIsShown) {
    Open();
    QTimer& timer = Child<QTimer>("Timer");
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 25);
    m_find->close(); // closing only hides it
    EXPECT_FALSE(timer.isActive());
    PointAt(18, 18);
    EXPECT_EQ(Panel().size(), QSize(36, 36));
    m_find->show();
    EXPECT_TRUE(timer.isActive());
    QTest::qWait(80);
    EXPECT_EQ(Panel().size(), QSize(136, 136)); // corrected by the next tick
}

TEST_F(SearchWindowTest, ColumnOneTakesTheWidthTheOtherColumnsLeave) {
    Open();
    FileTable& table = Results();
    m_find->resize(659 + m_find->width() - table.width(), 400);
    QApplication::processEvents();
    ASSERT_EQ(table.width(), 659);
    EXPECT_EQ(table.ColumnWidth(1), 219);
    table.SetColumnWidth(0, 150); // as if the user dragged a divider
    m_find->resize(m_find->width() + 100, 400);
    QApplication::processEvents();
    EXPECT_EQ(table.ColumnWidth(1), 759 - 490);
    // The search field widens with the window, the button keeps to the right edge.
    EXPECT_EQ(Child<QLineEdit>("edtFind").geometry().right() + 1 + 45, m_find->width());
    EXPECT_EQ(Child<QToolButton>("btnFind").x(), m_find->width() - 39);
}

TEST_F(SearchWindowTest, EnterWithAnyModifiersSearches) {
    Open();
    TickGroups({3});
    QLineEdit& edit = Child<QLineEdit>("edtFind");
    Type(edit, "popelku");
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Paths(), QStringList{"Žádný film\\Tři oříšky pro Popelku.avi"});
    edit.setText("Žádný");
    QTest::keyClick(&edit, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(Paths(), QStringList{"Žádný film\\"});
    edit.setText("amélie");
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(Counts(), QString("Nalezených souborů: 2 / Nalezených adresářů: 1"));
    QTest::keyClick(&edit, Qt::Key_A); // other keys only type
    EXPECT_EQ(edit.text(), QString("améliea"));
    EXPECT_EQ(Counts(), QString("Nalezených souborů: 2 / Nalezených adresářů: 1"));
}

TEST_F(SearchWindowTest, AnUnreadableListIsReportedOnceAfterTheOtherRows) {
    AddList("Zálohy 2019.sez", {"F:\\\t10", "amélie.txt\t10\t2019.1.1\t1:00.00"});
    WriteSettings("[Seznamy]\nČeské filmy.sez=3\nHudba – Mötley.sez=5\nZálohy 2019.sez=3\n");
    Open();
    TickGroups({3, 5});
    std::filesystem::remove(
        FsPath(ListPath("České filmy.sez"))); // gone since the lists were loaded
    std::filesystem::remove(FsPath(ListPath("Zálohy 2019.sez")));
    Search("amélie");
    EXPECT_EQ(Rows(0, 0).size(), 4);
    EXPECT_EQ(Rows(0, 0).removeDuplicates(), 3); // all from "Hudba – Mötley"
    EXPECT_EQ(Counts(), QString("Nalezených souborů: 3 / Nalezených adresářů: 1"));
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    const MessageRequest& report = Dialogs::Shown()[0];
    EXPECT_EQ(report.caption, QString("Vypisnik"));
    EXPECT_EQ(report.icon, QMessageBox::Critical);
    EXPECT_TRUE(report.text.contains("České filmy.sez")) << report.text.toStdString();
    EXPECT_TRUE(report.text.contains("Zálohy 2019.sez")) << report.text.toStdString();
}

TEST_F(SearchWindowTest, SearchesTheListsTheMainWindowLastLoaded) {
    Open();
    TfLV& main = *m_window;
    TickGroups({3, 5, 8});
    AddList("Nový disk.sez", {"G:\\\t1", "Amélie.srt\t1\t2020.2.2\t2:02.02"});
    Search("amélie");
    EXPECT_FALSE(Rows(0, 0).contains("Nový disk")); // made after the last refresh
    QTest::mouseClick(main.findChild<QToolButton*>("btnRefresh"), Qt::LeftButton);
    Search("amélie");
    EXPECT_TRUE(Rows(0, 0).contains("Nový disk"));

    // A list moved to an unticked group is left out at the next search.
    Tree().SelectNode(Node({"Hudba (1)", "Hudba – Mötley"}));
    main.findChild<QAction*>("Programy1")->trigger();
    Search("amélie");
    EXPECT_FALSE(Rows(0, 0).contains("Hudba – Mötley"));
}

TEST_F(SearchWindowTest, TheMainWindowShowsItAndKeepsItsPlace) {
    TfLV& main = Start();
    m_find = std::make_unique<TfFind>(main.Context(), main);
    main.SetSearchWindow(m_find.get());
    EXPECT_FALSE(m_find->isVisible());
    QTest::mouseClick(main.findChild<QToolButton*>("btnFind"), Qt::LeftButton);
    EXPECT_TRUE(m_find->isVisible());
    m_find->close();
    QTest::keyClick(&Tree(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(m_find->isVisible());
    QTest::keyClick(&View(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(m_find->isVisible());

    m_find->move(40, -10); // a monitor above the primary one
    main.close();
    const SettingsFile settings(m_dir / "settings.ini");
    EXPECT_EQ(settings.ReadInteger("fFind", "Left", 0), m_find->frameGeometry().left());
    EXPECT_EQ(settings.ReadInteger("fFind", "Top", 0), -10);
    EXPECT_EQ(settings.ReadInteger("fFind", "Width", 0), m_find->frameGeometry().width());
}

TEST_F(SearchWindowTest, ARowOfAListChangedSinceTheSearchShowsNothingAndItIsSaidOnce) {
    Open();
    TickGroups({3, 5});
    Search("amélie");
    ASSERT_EQ(Rows().size(), 7);
    // The music list rewritten with its lines in another order: the offsets the search saw
    // now start other lines, none of which may show in a row.
    std::vector<std::string> reordered(kMusic.rbegin(), kMusic.rend() - 1);
    reordered.insert(reordered.begin(), kMusic[0]);
    AddList("Hudba – Mötley.sez", reordered);
    QTest::qWait(250); // rows painted before are looked at again a few times a second

    const QStringList rows = Rows();
    EXPECT_EQ(rows[0], "České filmy|E:\\Amélie.avi|700,00 MB|734003200 B|2004.10.3|21:05:44");
    for (int row = 3; row < 7; ++row)
        EXPECT_EQ(rows[row], "Hudba – Mötley|||||") << row;
    QTest::qWait(20);
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].text, "Seznam „Hudba – Mötley“ byl od hledání smazán nebo "
                                        "změněn.\r\nObnovte seznamy a hledejte znovu.");

    // Sorting by path and by size, and painting again, read the rows again: still nothing
    // of theirs, and nothing said twice.
    ClickHeader(1);
    ClickHeader(2);
    Results().repaint();
    std::filesystem::remove(FsPath(ListPath("Hudba – Mötley.sez")));
    EXPECT_EQ(Rows().filter("Hudba – Mötley|||||").size(), 4);
    QTest::qWait(20);
    EXPECT_EQ(Dialogs::Shown().size(), 1u);

    // The next search reads the list as it is now.
    AddList("Hudba – Mötley.sez", kMusic);
    Search("amélie");
    EXPECT_EQ(Rows().filter("|||||").size(), 0);
    EXPECT_EQ(Rows().size(), 7);
}

TEST_F(SearchWindowTest, SortedRowsSavedAsCsvAreTheCoresRowsByteForByte) {
    Open();
    TickGroups({3, 5, 6});
    Search(".");
    ClickHeader(1);
    ClickHeader(1); // paths descending
    const std::string target = m_dir / "Výsledky, hledání.csv";
    SaveFilePicker::StartScript();
    SaveFilePicker::QueueFile(QString::fromStdString(target));
    m_find->SaveResultsAsCsv();
    EXPECT_TRUE(Dialogs::Shown().empty());

    // The core's rows of the same search, in the order the table shows them.
    GroupFilter groups{};
    groups[1] = groups[3] = groups[4] = true;
    const SearchResult core = SearchLists(".", groups, m_window->Registry());
    const FileTable& table = Results();
    ASSERT_EQ(static_cast<size_t>(table.ChildCount(kNoNode)), core.rows.size());
    std::string expected;
    AppendSearchRowsCsvHeader(expected);
    QStringList paths;
    for (int row = 0; row < table.ChildCount(kNoNode); ++row) {
        const SearchRow found = core.rows[table.Row(table.ChildAt(kNoNode, row))];
        AppendSearchRowCsv(
            found,
            ListNameOf(m_window->Registry().ListInfos[static_cast<size_t>(found.ListIndex())]),
            RegionalSettings::Czech(), expected);
        paths.append(QString::fromUtf8(found.Path().data(), static_cast<int>(found.Path().size())));
    }
    EXPECT_EQ(ReadFile(target), expected);
    EXPECT_EQ(Paths(), paths);
    EXPECT_EQ(paths.front(), QString("Яна Тирсен\\Amélie – 日本盤.flac"));
    EXPECT_EQ(paths.back(), QString("Amélie\\"));
}

// ---- sorting many rows --------------------------------------------------------------------------

// Two lists of the same disc, so that every path is found twice, in folders of 30 files whose
// names hold the letters a quick order could get wrong: Czech "ch" (after "h"), "ß" (as "ss"),
// "é" written as one character and as "e" with a combining accent, upper and lower case.
std::vector<std::string> LargeList(int folders) {
    const std::vector<std::string> words = {"chata",      "Cihla",         "hrad",         "Straße",
                                            "Strasse",    "e\xcc\x81te",   "\xc3\xa9te",   "Москва",
                                            "東京の写真", "Žluťoučký kůň", "Noël.2001.CZ", "IMG 2",
                                            "img 10",     "Übersicht"};
    std::vector<std::string> lines = {"E:\\Archiv.2024\\\t123456789"};
    for (int folder = 0; folder < folders; ++folder) {
        const std::string& word = words[static_cast<size_t>(folder) % words.size()];
        lines.push_back("Složka " + std::to_string(folder % 50) + ".d\\" + word + " " +
                        std::to_string(folder % 3) + "\\\t" + std::to_string(folder) +
                        "\t2004.1.15\t9:30.00");
        for (int file = 0; file < 30; ++file)
            lines.push_back(words[static_cast<size_t>(folder * 7 + file) % words.size()] + " " +
                            std::to_string(file % 4) + ".jpg\t" +
                            std::to_string((folder * 31 + file * 17) % 5000) +
                            "\t2004.1.15\t9:30.00");
    }
    return lines;
}

class SearchWindowLargeSortTest : public SearchWindowTest {
protected:
    void SetUp() override {
        SearchWindowTest::SetUp();
        AddList("Archiv A.sez", LargeList(4600));
        AddList("Archiv B.sez", LargeList(4600));
        WriteSettings("[Seznamy]\nArchiv A.sez=7\nArchiv B.sez=7\n");
    }

    // The table's rows as numbers of the core's rows, in the order shown.
    std::vector<size_t> Order() {
        std::vector<size_t> order;
        for (int row = 0; row < Results().ChildCount(kNoNode); ++row)
            order.push_back(Results().Row(Results().ChildAt(kNoNode, row)));
        return order;
    }

    // What the user sees while a sort runs on a worker, looked at every few milliseconds.
    struct Seen {
        bool sortRan = false;
        bool busyCursor = true;
        QStringList progress;
        size_t dialogs = 0;
    };
    // Clicks a header; while the sort runs, tries to click another one.
    Seen SortByHeader(int column, int triedMeanwhile) {
        Seen seen;
        QTimer look;
        look.setInterval(3);
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (!Results().SortRunning())
                return;
            seen.sortRan = true;
            seen.busyCursor = seen.busyCursor && QApplication::overrideCursor() != nullptr &&
                              QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            seen.progress.append(Status().Text(0));
            seen.dialogs = std::max(seen.dialogs, Dialogs::Shown().size());
            ClickHeader(triedMeanwhile);
        });
        look.start();
        ClickHeader(column);
        return seen;
    }
};

// A header click on a large table sorts it on a worker: progress in the status bar, every
// window refusing input, and at the end the order of the locale's collation, equal paths (of
// the two lists) in the order they had before, in both directions.
TEST_F(SearchWindowLargeSortTest, AHeaderClickSortsOnAWorkerWithProgressAndTheSameOrder) {
    Open();
    TickGroups({7});
    Search(".");
    GroupFilter groups{};
    groups[5] = true;
    const SearchResult core = SearchLists(".", groups, m_window->Registry());
    ASSERT_EQ(static_cast<size_t>(Results().ChildCount(kNoNode)), core.rows.size());
    ASSERT_GT(core.rows.size(), FileTable::kRowsSortedAtOnce * 2);
    const QString counts = Counts();
    std::vector<std::string> paths;
    for (const SearchRow& row : core.rows)
        paths.emplace_back(row.Path());
    const NameCollator collator(QLocale(QLocale::Czech, QLocale::CzechRepublic));

    const std::vector<size_t> byList = Order();
    const Seen ascending = SortByHeader(1, 2);
    EXPECT_TRUE(ascending.sortRan);
    EXPECT_TRUE(ascending.busyCursor);
    ASSERT_FALSE(ascending.progress.isEmpty());
    EXPECT_TRUE(ascending.progress.first().startsWith("Řazení: "))
        << ascending.progress.first().toStdString();
    EXPECT_TRUE(ascending.progress.last().endsWith(" %"))
        << ascending.progress.last().toStdString();
    EXPECT_EQ(Results().SortColumn(), 1) << "the click meanwhile was refused";
    EXPECT_EQ(Counts(), counts);
    // Each path after the one before it by the collator, equal ones in the order by list.
    const std::vector<size_t> sorted = Order();
    ASSERT_EQ(sorted.size(), byList.size());
    std::vector<size_t> placeBefore(byList.size());
    for (size_t i = 0; i < byList.size(); ++i)
        placeBefore[byList[i]] = i;
    size_t equalAcrossLists = 0;
    for (size_t i = 1; i < sorted.size(); ++i) {
        const int order = collator.Compare(paths[sorted[i - 1]], paths[sorted[i]]);
        ASSERT_LE(order, 0) << paths[sorted[i - 1]] << " / " << paths[sorted[i]];
        if (order == 0) {
            ASSERT_LT(placeBefore[sorted[i - 1]], placeBefore[sorted[i]]) << paths[sorted[i]];
            const FoundRows& found = m_find->Found();
            equalAcrossLists += found.ListName(sorted[i - 1]) != found.ListName(sorted[i]);
        }
    }
    EXPECT_GT(equalAcrossLists, 1000u);

    // Descending: runs of equal paths in reverse, each run in the order it had.
    SortByHeader(1, 0);
    EXPECT_EQ(Results().SortColumn(), 1);
    std::vector<size_t> expected;
    for (size_t end = sorted.size(); end > 0;) {
        size_t begin = end - 1;
        while (begin > 0 && collator.Compare(paths[sorted[begin - 1]], paths[sorted[end - 1]]) == 0)
            --begin;
        expected.insert(expected.end(), sorted.begin() + static_cast<std::ptrdiff_t>(begin),
                        sorted.begin() + static_cast<std::ptrdiff_t>(end));
        end = begin;
    }
    EXPECT_EQ(Order(), expected);
    EXPECT_TRUE(Dialogs::Shown().empty());
}

// Rows read again for a sort on a worker find a list changed since the search: its rows sort as
// rows without a number, first, show nothing, and it is said once, after the sort.
TEST_F(SearchWindowLargeSortTest, AListChangedBeforeASortOnAWorkerIsSaidOnceAfterIt) {
    Open();
    TickGroups({7});
    Search(".");
    const size_t rows = static_cast<size_t>(Results().ChildCount(kNoNode));
    ASSERT_GT(rows, FileTable::kRowsSortedAtOnce);
    GroupFilter groups{};
    groups[5] = true;
    const SearchResult core = SearchLists(".", groups, m_window->Registry());
    const std::vector<size_t> byList = Order();
    AddList("Archiv B.sez", LargeList(4000)); // shorter: another stamp, other lines

    const Seen bySize = SortByHeader(2, 1);
    EXPECT_TRUE(bySize.sortRan);
    EXPECT_EQ(bySize.dialogs, 0u) << "nothing is said while the windows wait";
    EXPECT_EQ(Results().SortColumn(), 2);
    QTest::qWait(20);
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_TRUE(Dialogs::Shown()[0].text.contains("Archiv B"))
        << Dialogs::Shown()[0].text.toStdString();
    auto& model = Results().Model();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(model.data(model.index(row, 0), Qt::DisplayRole).toString(), "Archiv B");
        for (int column = 1; column < 6; ++column)
            EXPECT_EQ(model.data(model.index(row, column), Qt::DisplayRole).toString(), "");
    }
    // The other list's rows after them by size, equal sizes in the order they had (by list).
    const FoundRows& found = m_find->Found();
    const size_t half = rows / 2;
    std::vector<size_t> placeBefore(rows);
    for (size_t i = 0; i < rows; ++i)
        placeBefore[byList[i]] = i;
    const std::vector<size_t> sorted = Order();
    for (size_t i = 0; i < rows; ++i) {
        ASSERT_EQ(found.ListName(sorted[i]), i < half ? "Archiv B" : "Archiv A") << i;
        if (i <= half)
            continue;
        const std::optional<int64_t> before = core.rows[sorted[i - 1]].Size();
        const std::optional<int64_t> size = core.rows[sorted[i]].Size();
        ASSERT_TRUE(before && size);
        ASSERT_LE(*before, *size);
        if (*before == *size) {
            ASSERT_LT(placeBefore[sorted[i - 1]], placeBefore[sorted[i]]);
        }
    }
}

// A third list beside the two, in Windows-1250, of folders nested so deep that each path is
// longer than most buffers hold, the folders and names differing only at their ends, some of
// them only by an accent or by case: the paths read for a sort fill more than one block.
std::vector<std::string> DeepList1250() {
    // "Dlouhá cesta", "kůň", "kun", "Kůň", "čaj", "caj", "chata", "hrad", "Žluťoučký",
    // "přednáška", in Windows-1250.
    const std::vector<std::string> ends = {"k\xf9\xf2",
                                           "kun",
                                           "K\xf9\xf2",
                                           "\xe8"
                                           "aj",
                                           "caj",
                                           "chata",
                                           "hrad",
                                           "\x8elu\x9dou\xe8k\xfd",
                                           "p\xf8"
                                           "edn\xe1\x9aka"};
    std::string deep;
    for (int level = 0; level < 300; ++level)
        deep +=
            (level % 2 == 0 ? "Dlouh\xe1 cesta " : "dlouha cesta ") + std::to_string(level) + "\\";
    std::vector<std::string> lines = {"F:\\Star\xe9\\\t1"};
    for (size_t folder = 0; folder < 12; ++folder) {
        lines.push_back(deep + ends[folder % ends.size()] + "\\\t" + std::to_string(folder) +
                        "\t2004.1.15\t9:30.00");
        for (size_t file = 0; file < 300; ++file)
            lines.push_back(ends[(folder + file) % ends.size()] + " " + std::to_string(file % 7) +
                            ".jpg\t" + std::to_string(file % 9) + "\t2004.1.15\t9:30.00");
    }
    return lines;
}

// Folders whose tree is not the collation's order of whole paths: "ab.c\x" sorts before "ab\y"
// ("." before "\"), folders that differ only in case or accents interleave, Czech "ch" and "ß",
// files at the top beside folders.
std::vector<std::string> AwkwardList() {
    std::vector<std::string> lines = {"E:\\Fotky.2024\\\t1", "ab.c\t1\t2004.1.15\t9:30.00",
                                      "Ab.txt\t1\t2004.1.15\t9:30.00"};
    for (const char* folder :
         {"ab\\", "ab.c\\", "ab c.d\\", "Foto.x\\", "foto.x\\", "Fóto.x\\", "Foto.x\\2024\\",
          "chata.v\\", "hrad.v\\", "Straße.v\\", "Strasse.v\\", "Москва.v\\", "東京の写真.v\\"}) {
        lines.push_back(std::string(folder) + "\t0\t2004.1.15\t9:30.00");
        for (const char* name : {"x.txt", "y.txt", "Y.txt", "Žluťoučký kůň.jpg", "Fußball.mp3",
                                 "Fussball.mp3", "chata.doc", "hrad.doc", "Été à Lyon.avi"})
            lines.push_back(std::string(name) + "\t3\t2004.1.15\t9:30.00");
    }
    return lines;
}

class SearchWindowMixedSortTest : public SearchWindowLargeSortTest {
protected:
    void SetUp() override {
        SearchWindowLargeSortTest::SetUp();
        AddList("Archiv C 1250.sez", DeepList1250());
        AddList("Archiv D.sez", AwkwardList());
        AddList("Archiv E.sez", AwkwardList());
        WriteSettings("[Seznamy]\nArchiv A.sez=7\nArchiv B.sez=7\nArchiv C 1250.sez=7\n"
                      "Archiv D.sez=7\nArchiv E.sez=7\n");
    }

    // The core's paths of the rows, as UTF-8, and each path's place among them by the collator,
    // equal paths sharing one, found by comparing them all.
    void ReadCore() {
        GroupFilter groups{};
        groups[5] = true;
        const SearchResult core = SearchLists(".", groups, m_window->Registry());
        for (const SearchRow& row : core.rows)
            m_paths.emplace_back(row.Path());
        std::vector<size_t> order(m_paths.size());
        std::iota(order.begin(), order.end(), size_t{0});
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return m_collator.Compare(m_paths[a], m_paths[b]) < 0;
        });
        m_rank.assign(m_paths.size(), 0);
        for (size_t i = 1; i < order.size(); ++i)
            m_rank[order[i]] = m_rank[order[i - 1]] +
                               (m_collator.Compare(m_paths[order[i - 1]], m_paths[order[i]]) != 0);
    }
    // The order shown before, sorted by path, equal paths staying in that order.
    std::vector<size_t> ByPath(std::vector<size_t> before, bool descending) {
        std::stable_sort(before.begin(), before.end(), [&](size_t a, size_t b) {
            return descending ? m_rank[b] < m_rank[a] : m_rank[a] < m_rank[b];
        });
        return before;
    }

    const NameCollator m_collator{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    std::vector<std::string> m_paths;
    std::vector<size_t> m_rank;
};

// Every sort by path, whatever was shown before it (the search's order, another column, the
// same column either way), gives the collator's order with equal paths where they were; the
// deep paths of the Windows-1250 list are shown decoded.
TEST_F(SearchWindowMixedSortTest, SortsByPathFromAnyOrderGiveTheCollatorsOrder) {
    Open();
    TickGroups({7});
    Search(".");
    ReadCore();
    ASSERT_EQ(static_cast<size_t>(Results().ChildCount(kNoNode)), m_paths.size());
    const std::vector<size_t> byList = Order();
    SortByHeader(1, 0);
    const std::vector<size_t> ascending = Order();
    ASSERT_EQ(ascending, ByPath(byList, false));
    SortByHeader(1, 0);
    ASSERT_EQ(Order(), ByPath(ascending, true));
    SortByHeader(1, 0);
    ASSERT_EQ(Order(), ascending);
    SortByHeader(2, 0);
    const std::vector<size_t> bySize = Order();
    ASSERT_NE(bySize, ascending);
    SortByHeader(1, 0);
    ASSERT_EQ(Order(), ByPath(bySize, false));
    SortByHeader(0, 0);
    SortByHeader(0, 0);
    const std::vector<size_t> byListDescending = Order();
    SortByHeader(1, 0);
    ASSERT_EQ(Order(), ByPath(byListDescending, false));
    SortByHeader(1, 0);
    ASSERT_EQ(Order(), ByPath(byListDescending, true));

    // The third list's paths decoded from Windows-1250, each longer than 4096 bytes, and shown.
    EXPECT_EQ(std::count_if(m_paths.begin(), m_paths.end(),
                            [](const std::string& path) {
                                return path.size() > 4096 &&
                                       path.substr(0, 18) == "Dlouhá cesta 0\\dl";
                            }),
              12 * 301);
    auto& model = Results().Model();
    EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString().toStdString(),
              m_paths[Order().front()]);
    EXPECT_TRUE(Dialogs::Shown().empty());
}

// A list changed between the search and the first sort by path: its rows have no path and come
// first, in the order they had; the others follow in the collator's order; it is said once.
TEST_F(SearchWindowMixedSortTest, AListChangedBeforeTheFirstSortByPathSortsAsEmptyPaths) {
    Open();
    TickGroups({7});
    Search(".");
    ReadCore();
    const std::vector<size_t> byList = Order();
    AddList("Archiv C 1250.sez", {"F:\\Star\xe9\\\t1", "jin\xfd.txt\t1\t2004.1.15\t9:30.00"});
    SortByHeader(1, 0);
    QTest::qWait(20);
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_TRUE(Dialogs::Shown()[0].text.contains("Archiv C 1250"))
        << Dialogs::Shown()[0].text.toStdString();
    const FoundRows& found = m_find->Found();
    std::vector<size_t> changed, others;
    for (size_t row : byList)
        (found.ListName(row) == "Archiv C 1250" ? changed : others).push_back(row);
    ASSERT_EQ(changed.size(), 12u * 301);
    std::vector<size_t> expected = changed;
    const std::vector<size_t> sortedOthers = ByPath(others, false);
    expected.insert(expected.end(), sortedOthers.begin(), sortedOthers.end());
    EXPECT_EQ(Order(), expected);
}

// A disc with one folder of 250,000 songs between folders of a few files, so that the folder's
// rows lie on both sides of the middle of the rows found; the folder's subfolders sort among its
// files ("Hudba\b.txt", "Hudba\b\c.txt", "Hudba\bz.txt"), with accents and mixed case.
std::vector<std::string> BigFolderList() {
    const std::vector<std::string> words = {"Píseň",      "píseň", "Größe", "Été à Lyon", "Москва",
                                            "東京の写真", "chata", "hrad",  "b",          "bz"};
    std::vector<std::string> lines = {"E:\\Hudba.2024\\\t123456789"};
    const auto folder = [&](const std::string& path, int files) {
        lines.push_back(path + "\t0\t2004.1.15\t9:30.00");
        for (int file = 0; file < files; ++file)
            lines.push_back(words[static_cast<size_t>(file * 3) % words.size()] + " " +
                            std::to_string(file % 1009) + (file % 2 ? ".mp3" : ".Tar.gz") + "\t" +
                            std::to_string(file % 77) + "\t2004.1.15\t9:30.00");
    };
    for (int i = 0; i < 600; ++i)
        folder("Složka " + std::to_string(i) + "\\" + words[static_cast<size_t>(i) % 10] + "\\",
               20);
    folder("Hudba\\", 250000);
    for (const char* sub : {"b\\", "Bz.v\\", "chata\\", "Größe 3\\", "píseň 5.d\\"})
        folder(std::string("Hudba\\") + sub, 30);
    for (int i = 600; i < 1200; ++i)
        folder("Složka " + std::to_string(i) + "\\" + words[static_cast<size_t>(i) % 10] + "\\",
               20);
    return lines;
}

class SearchWindowBigFolderSortTest : public SearchWindowMixedSortTest {
protected:
    void SetUp() override {
        SearchWindowTest::SetUp();
        AddList("Hudba.sez", BigFolderList());
        WriteSettings("[Seznamy]\nHudba.sez=7\n");
    }
};

// The first sort by path of a folder whose rows lie across the middle of the rows, which the
// sort reads in two parts side by side, and of its subfolders' rows among its files: the
// collator's order of the whole paths, either way.
TEST_F(SearchWindowBigFolderSortTest, AFolderAcrossTheMiddleSortsAsItsWholePaths) {
    Open();
    TickGroups({7});
    Search(".");
    ReadCore();
    ASSERT_GT(m_paths.size(), size_t{1} << 18);
    const std::vector<size_t> byList = Order();
    SortByHeader(1, 0);
    EXPECT_EQ(Order(), ByPath(byList, false));
    SortByHeader(1, 0);
    EXPECT_EQ(Order(), ByPath(byList, true));
    auto& model = Results().Model();
    EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString().toStdString(),
              m_paths[Order()[1]]);
    EXPECT_TRUE(Dialogs::Shown().empty());
}

// ---- a result larger than the memory left ------------------------------------------------------

// Memory runs out while a list of more than a piece of rows is searched: the window shows the
// rows that fitted, the core's first rows, with counts that match them, and says so once in
// Czech; the next search, with memory enough, shows every row and says nothing.
TEST_F(SearchWindowTest, OutOfMemoryShowsTheRowsThatFittedAndSaysSoOnce) {
    AddList("Archiv A.sez", LargeList(2300));
    WriteSettings("[Seznamy]\nArchiv A.sez=7\n");
    Open();
    TickGroups({7});
    GroupFilter groups{};
    groups[5] = true;
    const SearchHitsResult core = SearchListHits(".", groups, m_window->Registry());
    ASSERT_GT(core.rows.size(), SearchHits::kPieceRows);
    {
        const ScarceMemory memory(1);
        Search(".");
    }
    const SearchHits& shown = m_find->Found().Hits();
    ASSERT_EQ(static_cast<size_t>(Results().ChildCount(kNoNode)), SearchHits::kPieceRows);
    ASSERT_EQ(shown.size(), SearchHits::kPieceRows);
    size_t folders = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        folders += shown.IsFolder(i) ? 1 : 0;
        ASSERT_EQ(shown.LineOffset(i), core.rows.LineOffset(i)) << i;
        ASSERT_EQ(shown.IsFolder(i), core.rows.IsFolder(i)) << i;
    }
    EXPECT_EQ(Counts(), QString("Nalezených souborů: %1 / Nalezených adresářů: %2")
                            .arg(shown.size() - folders)
                            .arg(folders));
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].caption, QString("Vypisnik"));
    EXPECT_EQ(Dialogs::Shown()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(Dialogs::Shown()[0].text,
              QString("Pro další výsledky hledání není dost paměti: zobrazeny jsou ty, které "
                      "se vešly."));
    // The last row that fitted reads as the core's.
    SearchRows texts;
    ASSERT_TRUE(m_find->Found().ReadRow(shown.size() - 1, texts));
    SearchHitReader reader(core.rows);
    SearchRows coreTexts;
    ASSERT_TRUE(reader.Read(shown.size() - 1, coreTexts));
    EXPECT_EQ(texts[0].Path(), coreTexts[0].Path());
    EXPECT_EQ(texts[0].SizeText(), coreTexts[0].SizeText());

    Search(".");
    EXPECT_EQ(static_cast<size_t>(Results().ChildCount(kNoNode)), core.rows.size());
    EXPECT_EQ(Dialogs::Shown().size(), 1u);
}

// ---- going from a hit to its folder, and saving the hits -------------------------------------

class SearchHitTest : public PhotoDiscFixture {
protected:
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
        auto& model = Results().Model();
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.data(model.index(row, 1), Qt::DisplayRole).toString() == path) {
                Results().SelectNode(Results().ChildAt(kNoNode, row));
                return;
            }
        ADD_FAILURE() << "no result " << path.toStdString();
    }
};

TEST_F(SearchHitTest, EnterOnAHitInANestedFolderSelectsItsFolderAndFile) {
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

TEST_F(SearchHitTest, DoubleClickOnAHitInTheRootSelectsTheListAndFile) {
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

TEST_F(SearchHitTest, GoingToAFolderHitThroughTheMenuSelectsThatFolder) {
    OpenSearchOnDisc();
    Search("léto");
    SelectResult("Fotky z Brna\\Léto 2023\\");
    m_find->findChild<QAction*>(QStringLiteral("actGoToFolder"))->trigger();

    EXPECT_TRUE(Dialogs::Shown().empty()) << LastMessage().toStdString();
    EXPECT_EQ(Tree().SelectedNode(), Node(kLetoNode));
}

TEST_F(SearchHitTest, AHitInAListChangedSinceTheSearchIsNotShown) {
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

TEST_F(SearchHitTest, TheMenuOffersGoingOnlyWithAHitSelected) {
    OpenSearchOnDisc();
    Search("lednice");
    ASSERT_EQ(Results().Model().rowCount(), 1);
    auto offered = [this](const char* action) {
        return OfferedByRightClick(Results(), *m_find, "pmFind", action);
    };
    EXPECT_FALSE(offered("actGoToFolder")) << "a right click selects no hit";
    EXPECT_TRUE(offered("actSaveFoundCsv"));
    SelectResult("Fotky z Brna\\Léto 2023\\Château de Lednice.tar.gz");
    EXPECT_TRUE(offered("actGoToFolder"));
    EXPECT_TRUE(Dialogs::Shown().empty()) << LastMessage().toStdString();
}

TEST_F(SearchHitTest, SearchResultsSavedAsCsvAndACancelWritesNothing) {
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

} // namespace
} // namespace vyp::test
