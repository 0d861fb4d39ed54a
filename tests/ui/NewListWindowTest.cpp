// The new-list window driven as a person does: the folder button answered by the picker's
// script, the name typed, "Vytvoř" clicked, the question boxes answered by the dialog script;
// the list files and "settings.ini" read back byte for byte.
#include "UiFixture.h"

#include "lists/ListRegistry.h"
#include "lists/SettingsFile.h"
#include "scan/FolderScan.h"
#include "ui/common/FolderPicker.h"
#include "ui/new_list_u/TfNewList.h"
#include "util/SafeFileWriter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>
#ifdef _WIN32
#include <windows.h> // ERROR_DISK_FULL
#else
#include <sys/resource.h>
#endif

namespace vyp::test {
namespace {

// Holds the scan at one folder until the test lets it go on.
class GatedWalker final : public DirectoryWalker {
public:
    explicit GatedWalker(std::string gate) : m_gate(std::move(gate)) {}
    bool ListFolder(const std::string& folderPath, std::vector<DirectoryEntry>& entries) override {
        if (folderPath.ends_with(m_gate)) {
            reached = true;
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!open && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return m_posix.ListFolder(folderPath, entries);
    }
    std::atomic<bool> reached{false};
    std::atomic<bool> open{false};

private:
    std::string m_gate;
    NativeDirectoryWalker m_posix;
};

// Types text into widget key by key; QTest::keyClicks knows ASCII keys only.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Files written while it lives may grow to bytes at most: the disk refuses more, even for root.
// Windows has no such limit: there the next list written finds the disk full part-way.
class FileSizeLimit {
public:
#ifdef _WIN32
    explicit FileSizeLimit(int) {
        SafeFileWriter::FailNextAt(SafeWriteStep::ShortWrite, ERROR_DISK_FULL, ".sez");
    }
#else
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
    }

private:
    rlimit m_saved{};
#endif
};

class NewListWindow : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        FolderPicker::StartScript();
        m_disk = m_dir / "Karta SD";
        std::filesystem::create_directories(FsPath(m_disk + "/Hudba"));
        std::filesystem::create_directories(FsPath(m_disk + "/Фото"));
        std::filesystem::create_directories(FsPath(m_disk + "/写真"));
        WriteFile(m_disk + "/Čtěte mě.txt", std::string(12, 'c'));
        WriteFile(m_disk + "/Les Misérables.Part.1.MKV", std::string(100, 'm'));
        WriteFile(m_disk + "/Hudba/Dvořák – Rusalka.flac", std::string(300, 'd'));
        WriteFile(m_disk + "/Hudba/Ölmühle.live.2019.mp3", std::string(250, 'o'));
        WriteFile(m_disk + "/Фото/Лето 2019.jpg", std::string(40, 'f'));
        WriteFile(m_disk + "/写真/東京.png", std::string(30, 't'));
    }
    TfNewList& Open(DirectoryWalker* walker = nullptr) {
        Start(walker);
        return OpenNewList();
    }
    template <typename T> T* Get(const char* name) {
        return m_newList->findChild<T*>(QString::fromLatin1(name));
    }
    void ChooseFolder(const std::string& folder) {
        FolderPicker::QueueFolder(QString::fromStdString(folder));
        QTest::mouseClick(Get<QToolButton>("bntVyberSlozku"), Qt::LeftButton);
    }
    void Name(const QString& name) {
        Get<QLineEdit>("edtNazev")->clear();
        Type(Get<QLineEdit>("edtNazev"), name);
    }
    void Create() { QTest::mouseClick(Get<QPushButton>("btnVytvor"), Qt::LeftButton); }
    // What the core writes for the card, scanned the plain synchronous way.
    std::string CardList(bool foldersOnly = false) {
        TempDir elsewhere;
        ScanLines lines;
        CreateList(m_walker, Native(m_disk + "/"), elsewhere / "card.sez",
                   ScanOptions{foldersOnly, RegionalSettings::Czech().timeSeparator}, lines);
        return ReadFile(elsewhere / "card.sez");
    }
    std::string Settings() { return ReadFile(m_dir / "settings.ini"); }

    std::string m_disk;
};

TEST_F(NewListWindow, LayoutAsDesigned) {
    TfNewList& window = Open();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Vytvoření nového seznamu");
    EXPECT_EQ(window.size(), QSize(363, 118));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()); // not resizable
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(Get<QLabel>("Image1")->pixmap().isNull());
    EXPECT_EQ(Get<QLabel>("Label1")->text(), "Složka:");
    EXPECT_EQ(Get<QLabel>("Label2")->text(), "Název seznamu:");
    EXPECT_TRUE(Get<QLineEdit>("edtFolder")->isReadOnly());
    EXPECT_EQ(Get<QCheckBox>("chckbObnova")->text(), "Automaticky obnovovat");
    EXPECT_EQ(Get<QCheckBox>("chckbPAS")->text(), "Pouze adresářovou strukturu");
    EXPECT_FALSE(Get<QCheckBox>("chckbObnova")->isChecked());
    EXPECT_FALSE(Get<QCheckBox>("chckbPAS")->isChecked());
    auto* button = Get<QPushButton>("btnVytvor");
    EXPECT_EQ(button->text(), "Vytvoř");
    EXPECT_TRUE(button->font().bold());
    EXPECT_FALSE(button->isDefault());
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_FALSE(Get<QToolButton>("bntVyberSlozku")->icon().isNull());

    auto* groups = Get<QComboBox>("cmbGroup");
    EXPECT_FALSE(groups->isEditable());
    QStringList captions;
    for (int i = 0; i < groups->count(); ++i) {
        captions.append(groups->itemText(i));
        EXPECT_EQ(groups->itemIcon(i).cacheKey(), m_window->ImgLst16().At(i + 2).cacheKey());
    }
    EXPECT_EQ(captions, (QStringList{"Gamesy", "Filmy", "Obrázky", "Hudba", "Programy", "Ostatní",
                                     "Neurčeno"}));

    // Tab goes edtFolder, chckbPAS, btnVytvor, edtNazev, cmbGroup, chckbObnova.
    QStringList order;
    QWidget* focus = Get<QLineEdit>("edtFolder");
    for (int i = 0; i < 6; ++i, focus = focus->nextInFocusChain()) {
        while (focus->focusPolicy() == Qt::NoFocus || !focus->isVisible())
            focus = focus->nextInFocusChain();
        order.append(focus->objectName());
    }
    EXPECT_EQ(order, (QStringList{"edtFolder", "chckbPAS", "btnVytvor", "edtNazev", "cmbGroup",
                                  "chckbObnova"}));
}

TEST_F(NewListWindow, FolderPickerFillsTheBoxWithOneSeparator) {
    Open();
    ChooseFolder(m_disk);
    EXPECT_EQ(Get<QLineEdit>("edtFolder")->text().toStdString(), Native(m_disk + "/"));
    ChooseFolder(Native("/"));
    EXPECT_EQ(Get<QLineEdit>("edtFolder")->text().toStdString(), Native("/"));
    ChooseFolder(Native(m_disk + "/Фото"));
    // Cancelled: the box keeps its folder, and the next request starts there.
    FolderPicker::QueueCancel();
    QTest::mouseClick(Get<QToolButton>("bntVyberSlozku"), Qt::LeftButton);
    EXPECT_EQ(Get<QLineEdit>("edtFolder")->text().toStdString(), Native(m_disk + "/Фото/"));
    ASSERT_EQ(FolderPicker::Asked().size(), 4u);
    EXPECT_EQ(FolderPicker::Asked()[0].prompt, "Vyberte složku.");
    EXPECT_EQ(FolderPicker::Asked()[0].startFolder, "");
    EXPECT_EQ(FolderPicker::Asked()[3].startFolder.toStdString(), Native(m_disk + "/Фото/"));
    // A folder that no longer exists is no place to start.
    std::filesystem::remove_all(FsPath(m_disk + "/Фото"));
    FolderPicker::QueueCancel();
    QTest::mouseClick(Get<QToolButton>("bntVyberSlozku"), Qt::LeftButton);
    EXPECT_EQ(FolderPicker::Asked().back().startFolder, "");
}

TEST_F(NewListWindow, CreatesTheListInGroupNeurcenoAndKeepsTheInputs) {
    Open();
    ChooseFolder(m_disk);
    Name("Karta SD – Dovolená 2019.v2");
    Create();
    EXPECT_EQ(Dialogs::Shown().size(), 0u);
    EXPECT_EQ(Dialogs::Beeps(), 1);
    EXPECT_EQ(ReadFile(ListPath("Karta SD – Dovolená 2019.v2.sez")), CardList());
    EXPECT_EQ(Settings(), "[Seznamy]\r\nKarta SD – Dovolená 2019.v2.sez=8\r\n");
    const std::string list = ReadFile(ListPath("Karta SD – Dovolená 2019.v2.sez"));
    EXPECT_TRUE(list.starts_with(Native(m_disk + "/") + "\t732\r\n")) << list;
    EXPECT_NE(list.find("\r\nHudba\\\t550\t"), std::string::npos);
    EXPECT_NE(list.find("\r\n写真\\\t30\t"), std::string::npos);
    // The window stays open with everything as it was, ready for the next list.
    EXPECT_TRUE(m_newList->isVisible());
    EXPECT_EQ(Get<QLineEdit>("edtFolder")->text().toStdString(), Native(m_disk + "/"));
    EXPECT_EQ(Get<QLineEdit>("edtNazev")->text(), "Karta SD – Dovolená 2019.v2");
    EXPECT_EQ(Get<QComboBox>("cmbGroup")->currentIndex(), 6);
    EXPECT_FALSE(Get<QLabel>("lblPrubeh")->isVisible());
    EXPECT_TRUE(Get<QLabel>("Image1")->isVisible());
}

TEST_F(NewListWindow, ExampleDiscGivesItsSevenLinesAndUnreadableFoldersAreTold) {
    FakeDirectoryWalker walker;
    AddExampleTree(walker, Native("/media/cdrom/"), true);
    Open(&walker);
    ChooseFolder(Native("/media/cdrom"));
    Name("Hry 2004");
    Create();
    std::string expected;
    for (const std::string& line : ExampleLines(Native("/media/cdrom/")))
        expected += line + "\r\n";
    EXPECT_EQ(ReadFile(ListPath("Hry 2004.sez")), expected);
    EXPECT_TRUE(Dialogs::Shown().empty());

    // A folder that could not be read leaves a hole: the list is written, and the user told.
    walker.MakeUnreadable(Native("/media/cdrom/Games/"));
    Name("Hry 2004 – bez Games");
    Create();
    EXPECT_EQ(Dialogs::Beeps(), 2);
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    EXPECT_EQ(Dialogs::Shown()[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(Dialogs::Shown()[0].text.startsWith("Seznam je vytvořen, ale 1 složek"))
        << Dialogs::Shown()[0].text.toStdString();
    EXPECT_EQ(ReadFile(ListPath("Hry 2004 – bez Games.sez")),
              Native("/media/cdrom/") + "\t45\r\n"
                                        "autorun.inf\t45\t2003.11.2\t14:3.20\r\n"
                                        "Games\\\t0\t2004.1.15\t9:30.0\r\n"
                                        "Music\\\t0\t2004.2.29\t18:45.10\r\n");
}

TEST_F(NewListWindow, GroupIsNeurcenoOnEveryShowing) {
    Open();
    auto* groups = Get<QComboBox>("cmbGroup");
    EXPECT_EQ(groups->currentText(), "Neurčeno");
    groups->setCurrentIndex(1);
    ChooseFolder(m_disk);
    Name("Filmy DVD");
    QTest::mouseClick(Get<QCheckBox>("chckbPAS"), Qt::LeftButton);
    Create();
    EXPECT_EQ(Settings(), "[Seznamy]\r\nFilmy DVD.sez=3\r\n");
    EXPECT_EQ(ReadFile(ListPath("Filmy DVD.sez")), CardList(true));
    m_newList->close();
    EXPECT_FALSE(m_newList->isVisible());
    QTest::mouseClick(m_window->findChild<QToolButton*>("btnCreateList"), Qt::LeftButton);
    EXPECT_TRUE(m_newList->isVisible());
    EXPECT_EQ(groups->currentText(), "Neurčeno");
    // Closing only hid it: the other inputs are still there.
    EXPECT_EQ(Get<QLineEdit>("edtNazev")->text(), "Filmy DVD");
    EXPECT_TRUE(Get<QCheckBox>("chckbPAS")->isChecked());
}

TEST_F(NewListWindow, EmptyFolderOrNameWarnsAndWritesNothing) {
    Open();
    Name("Hudba");
    Create();
    ChooseFolder(m_disk);
    Name("");
    Create();
    ASSERT_EQ(Dialogs::Shown().size(), 2u);
    for (const MessageRequest& shown : Dialogs::Shown()) {
        EXPECT_EQ(shown.caption, "Warning");
        EXPECT_EQ(shown.text, "Zadejte složku a název souboru!");
        EXPECT_EQ(shown.icon, QMessageBox::Warning);
        EXPECT_EQ(shown.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    }
    EXPECT_EQ(Dialogs::Beeps(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(FsPath(m_dir / "Seznamy")));
    EXPECT_FALSE(std::filesystem::exists(FsPath(m_dir / "settings.ini")));
}

TEST_F(NewListWindow, ExistingNameAsksFirstAndNoKeepsListAndGroup) {
    const std::string old = "E:\\\t5\r\nstary.txt\t5\t2004.1.15\t9:30.0\r\n";
    WriteFile(ListPath("Záloha.sez"), old);
    WriteFile(ListPath(".sez"), old);
    WriteSettings("[Seznamy]\r\nZáloha.sez=2\r\n");
    Open();
    Name("Záloha");
    Dialogs::QueueAnswer(QMessageBox::No);
    Create(); // with no folder chosen yet: the question comes first, and No ends it
    ASSERT_EQ(Dialogs::Shown().size(), 1u);
    const MessageRequest question = Dialogs::Shown()[0];
    EXPECT_EQ(question.caption, "Vypisnik");
    EXPECT_EQ(question.text, "Tento název seznamu už existuje!\r\nChcete tento seznam přepsat?");
    EXPECT_EQ(question.icon, QMessageBox::Question);
    EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.defaultButton, QMessageBox::No);
    // An empty name over an existing ".sez" is asked about too, then warned about.
    Name("");
    Dialogs::QueueAnswer(QMessageBox::Yes);
    Create();
    ASSERT_EQ(Dialogs::Shown().size(), 3u);
    EXPECT_EQ(Dialogs::Shown()[1].text, question.text);
    EXPECT_EQ(Dialogs::Shown()[2].text, "Zadejte složku a název souboru!");

    ChooseFolder(m_disk);
    Name("Záloha");
    Dialogs::QueueAnswer(QMessageBox::No);
    Create();
    EXPECT_EQ(ReadFile(ListPath("Záloha.sez")), old);
    EXPECT_EQ(Settings(), "[Seznamy]\r\nZáloha.sez=2\r\n");
    EXPECT_EQ(Dialogs::Beeps(), 0);

    Get<QComboBox>("cmbGroup")->setCurrentIndex(3);
    Dialogs::QueueAnswer(QMessageBox::Yes);
    Create();
    EXPECT_EQ(ReadFile(ListPath("Záloha.sez")), CardList());
    EXPECT_EQ(Settings(), "[Seznamy]\r\nZáloha.sez=5\r\n");
    EXPECT_EQ(Dialogs::Beeps(), 1);
}

TEST_F(NewListWindow, AutomaticRefreshShowsTheListUnderItsGroup) {
    Open();
    ChooseFolder(m_disk);
    Name("Hudba 1");
    Get<QComboBox>("cmbGroup")->setCurrentIndex(3);
    Create();
    EXPECT_EQ(Children(Node({"Hudba (0)"})), QStringList{}); // the tree is as it was
    EXPECT_EQ(TreeStatus().Text(0), "Počet seznamů: 0");

    QTest::mouseClick(Get<QCheckBox>("chckbObnova"), Qt::LeftButton);
    Name("Hudba 2");
    Create();
    EXPECT_EQ(Children(Node({"Hudba (2)"})), (QStringList{"Hudba 1", "Hudba 2"}));
    EXPECT_EQ(Children(Node({"Hudba (2)", "Hudba 2"})), (QStringList{"Hudba", "Фото", "写真"}));
    EXPECT_EQ(Dialogs::Beeps(), 2);
}

TEST_F(NewListWindow, NamesThatAreNoPlainFileNamesAreRefused) {
    WriteFile(m_dir / "x.sez", "mimo seznamy");
    Open();
    ChooseFolder(m_disk);
    for (const QString name : {"../x", "a=b", "[fLV]", "..", "Hry?", ";Gamesy", " Filmy"}) {
        Name(name);
        Create();
        ASSERT_FALSE(Dialogs::Shown().empty()) << name.toStdString();
        const MessageRequest& refusal = Dialogs::Shown().back();
        EXPECT_EQ(refusal.icon, QMessageBox::Warning);
        EXPECT_TRUE(refusal.text.startsWith("Název seznamu ")) << refusal.text.toStdString();
    }
    EXPECT_EQ(Dialogs::Shown().size(), 7u); // no question about the file outside "Seznamy"
    EXPECT_EQ(ReadFile(m_dir / "x.sez"), "mimo seznamy");
    EXPECT_TRUE(std::filesystem::is_empty(FsPath(m_dir / "Seznamy")));
    EXPECT_FALSE(std::filesystem::exists(FsPath(m_dir / "settings.ini")));
    EXPECT_EQ(Dialogs::Beeps(), 0);
}

TEST_F(NewListWindow, FailedWriteKeepsTheOldListAndRecordsNoGroup) {
    const std::string old = "E:\\\t5\r\nstary.txt\t5\t2004.1.15\t9:30.0\r\n";
    WriteFile(ListPath("Archiv Müller.sez"), old);
    WriteSettings("[Seznamy]\r\nArchiv Müller.sez=6\r\n");
    Open();
    ChooseFolder(m_disk);
    Name("Archiv Müller");
    QTest::mouseClick(Get<QCheckBox>("chckbObnova"), Qt::LeftButton);
    Get<QComboBox>("cmbGroup")->setCurrentIndex(0);
    Dialogs::QueueAnswer(QMessageBox::Yes);
    {
        // The disk takes the small "settings.ini" but refuses the list part-way.
        const FileSizeLimit limit(200);
        Create();
    }
    ASSERT_EQ(Dialogs::Shown().size(), 2u);
    const MessageRequest& report = Dialogs::Shown()[1];
    EXPECT_EQ(report.caption, "Vypisnik");
    EXPECT_EQ(report.icon, QMessageBox::Critical);
    EXPECT_TRUE(report.text.startsWith(
        QString::fromStdString("Cannot write file \"" + ListPath("Archiv Müller.sez") + "\".")))
        << report.text.toStdString();
    EXPECT_EQ(ReadFile(ListPath("Archiv Müller.sez")), old);
    EXPECT_EQ(Settings(), "[Seznamy]\r\nArchiv Müller.sez=6\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FsPath(m_dir / "Seznamy")),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(Dialogs::Beeps(), 0);
    EXPECT_EQ(Children(Node({"Programy (1)"})), QStringList{"Archiv Müller"}); // not refreshed
    EXPECT_TRUE(m_newList->isVisible());
    EXPECT_EQ(Get<QLineEdit>("edtNazev")->text(), "Archiv Müller");
    EXPECT_EQ(Get<QComboBox>("cmbGroup")->currentIndex(), 0);

    // A new name whose list cannot be started gets no group either.
    Name("Nový Müller");
    SafeFileWriter::FailNextAt(SafeWriteStep::CreateTemporary, EACCES);
    Create();
    EXPECT_FALSE(std::filesystem::exists(FsPath(ListPath("Nový Müller.sez"))));
    EXPECT_EQ(Settings(), "[Seznamy]\r\nArchiv Müller.sez=6\r\n");
    // "settings.ini" refusing the group leaves the list unwritten.
    SafeFileWriter::FailNextAt(SafeWriteStep::Rename, EACCES);
    Create();
    EXPECT_EQ(Dialogs::Shown().back().text.toStdString(),
              "Unable to write to " + (m_dir / "settings.ini") + ".");
    EXPECT_FALSE(std::filesystem::exists(FsPath(ListPath("Nový Müller.sez"))));
    EXPECT_EQ(Dialogs::Beeps(), 0);
}

TEST_F(NewListWindow, DuringTheScanWindowsRefuseInputAndClosingLeavesTheOldList) {
    const std::string old = "E:\\\t5\r\nstary.txt\t5\t2004.1.15\t9:30.0\r\n";
    WriteFile(ListPath("Karta.sez"), old);
    WriteSettings("[Seznamy]\r\nKarta.sez=4\r\n");
    GatedWalker walker(Native("Hudba/"));
    Open(&walker);
    ChooseFolder(m_disk);
    Name("Karta");
    Dialogs::QueueAnswer(QMessageBox::Yes);

    bool looked = false;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QString count;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!walker.reached || looked)
            return;
        looked = true;
        QTest::qWait(120); // a few ticks of the count
        cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                : Qt::ArrowCursor;
        count = Get<QLabel>("lblPrubeh")->isVisible() ? Get<QLabel>("lblPrubeh")->text() : "";
        EXPECT_TRUE(m_newList->Scanning());
        // Typing, clicking and closing reach no window.
        Type(Get<QLineEdit>("edtNazev"), "zz");
        QTest::mouseClick(Get<QCheckBox>("chckbPAS"), Qt::LeftButton);
        QTest::mouseClick(m_window->findChild<QToolButton*>("btnRefresh"), Qt::LeftButton);
        m_newList->close();
        EXPECT_TRUE(m_newList->isVisible());
        m_window->close(); // the program is closed: the scan ends without writing
        walker.open = true;
    });
    watcher.start(5);
    Create();
    watcher.stop();
    ASSERT_TRUE(looked);
    EXPECT_EQ(cursor, Qt::WaitCursor);
    EXPECT_EQ(count, "Načítám…\nsložek: 1\nsouborů: 2");
    EXPECT_EQ(Get<QLineEdit>("edtNazev")->text(), "Karta");
    EXPECT_FALSE(Get<QCheckBox>("chckbPAS")->isChecked());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QApplication::processEvents(); // the main window's close, held back during the scan
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(Dialogs::Shown().size(), 1u); // only the overwrite question
    EXPECT_EQ(Dialogs::Beeps(), 0);
    EXPECT_EQ(ReadFile(ListPath("Karta.sez")), old);
    EXPECT_EQ(SettingsFile(m_dir / "settings.ini").ReadString(kListsSection, "Karta.sez"), "4");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FsPath(m_dir / "Seznamy")),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace vyp::test
