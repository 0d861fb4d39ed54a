#include "TestSupport.h"

#include "cli/CliCommands.h"
#include "platform/Files.h"
#include "qtcore/TerminationSignals.h"
#include "util/SafeFileWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <new>
#include <sstream>
#include <streambuf>
#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vyp {
namespace {

// The first n TAB-separated fields of each line of text.
std::vector<std::string> Fields(const std::string& text, int n) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        size_t end = 0;
        for (int i = 0; i < n && end != std::string::npos; ++i)
            end = line.find('\t', i == 0 ? 0 : end + 1);
        lines.push_back(line.substr(0, end));
    }
    return lines;
}

// A data folder and a small tree on disk to catalogue, driven through the commands.
class CliFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_tree = m_dir / "disk";
        std::filesystem::create_directories(test::FsPath(m_tree + "/Games/Old"));
        std::filesystem::create_directories(test::FsPath(m_tree + "/Music"));
        test::WriteFile(m_tree + "/autorun.inf", std::string(45, 'a'));
        test::WriteFile(m_tree + "/Games/setup.exe", std::string(1048576, 's'));
        test::WriteFile(m_tree + "/Games/Zebra.txt", "z");
        test::WriteFile(m_tree + "/Games/alpha.txt", "al");
        test::WriteFile(m_tree + "/Games/Old/old.zip", std::string(2000, 'o'));
        m_data = m_dir / "data";
        std::filesystem::create_directories(test::FsPath(m_data));
        m_environment.defaultDataFolder = [this] {
            ++m_defaultDataFolderAsked;
            return m_data;
        };
        m_environment.collationLocale = QLocale(QLocale::Czech, QLocale::CzechRepublic);
    }

    int Run(std::vector<std::string> args) {
        std::ostringstream out, err;
        const int status = RunCli(args, m_environment, out, err);
        m_out = out.str();
        m_err = err.str();
        return status;
    }

    test::TempDir m_dir;
    std::string m_tree, m_data;
    CliEnvironment m_environment;
    int m_defaultDataFolderAsked = 0;
    std::string m_out, m_err;
};

TEST_F(CliFixture, ScanWritesTheListAndItsGroup) {
    ASSERT_EQ(Run({"scan", m_tree, "Disk", "--group", "3"}), 0) << m_err;
    EXPECT_EQ(m_out, "");
    const std::string list = test::ReadFile(m_data + "/Seznamy/Disk.sez");
    EXPECT_EQ(list.substr(0, list.find("\r\n")), test::Native(m_tree + "/") + "\t1050624");
    EXPECT_NE(list.find("\r\nGames\\\t1050579\t"), std::string::npos);
    EXPECT_EQ(test::ReadFile(m_data + "/settings.ini"), "[Seznamy]\r\nDisk.sez=3\r\n");

    EXPECT_EQ(Run({"scan", m_tree, "Disk"}), 1);
    EXPECT_EQ(m_err, "Tento název seznamu už existuje!\n");
    EXPECT_EQ(
        Run({"--data", m_data, "scan", m_tree + "/", "Disk", "--folders-only", "--overwrite"}), 0);
    EXPECT_EQ(test::ReadFile(m_data + "/Seznamy/Disk.sez").find("setup.exe"), std::string::npos);
    EXPECT_EQ(test::ReadFile(m_data + "/settings.ini"), "[Seznamy]\r\nDisk.sez=8\r\n");
}

TEST_F(CliFixture, ScanRefusesBadFoldersNamesAndGroups) {
    EXPECT_EQ(Run({"scan", m_dir / "nothing", "X"}), 1);
    EXPECT_NE(m_err.find("neexistuje"), std::string::npos);
    test::WriteFile(m_dir / "file", "x");
    EXPECT_EQ(Run({"scan", m_dir / "file", "X"}), 1);
    EXPECT_EQ(Run({"scan", m_tree, "../escape"}), 1);
    EXPECT_EQ(Run({"scan", m_tree, ".."}), 1);
    EXPECT_EQ(Run({"scan", m_tree, ""}), 1);
    EXPECT_EQ(Run({"scan", m_tree, "X", "--group", "9"}), 2);
    EXPECT_FALSE(std::filesystem::exists(test::FsPath(m_data + "/Seznamy/X.sez")));
    EXPECT_FALSE(std::filesystem::exists(test::FsPath(m_dir / "escape.sez")));
}

TEST_F(CliFixture, ScanRefusesNamesSettingsCouldNotKeepTheGroupOf) {
    const std::string settings = "[Seznamy]\r\nP\xF8\xEDkop.sez=2\r\n"; // Windows-1250
    test::WriteFile(m_data + "/settings.ini", settings);
    std::vector<std::string> names = {"[fLV]", "Hry=2", "Záloha ]", ";Hudba", " Filmy", "Filmy "};
#ifndef _WIN32 // Windows hands a program its words in UTF-16, never other bytes
    names.push_back("Fotky \xE8\x65rven");
#endif
    for (const std::string& name : names) {
        EXPECT_EQ(Run({"scan", m_tree, name, "--group", "3"}), 1) << name;
        EXPECT_TRUE(m_err.starts_with("Název seznamu ")) << m_err;
        EXPECT_FALSE(std::filesystem::exists(test::FsPath(m_data + "/Seznamy/" + name + ".sez")))
            << name;
    }
    // Fits a list name, but not the Windows-1250 file that keeps the groups.
    EXPECT_EQ(Run({"scan", m_tree, "Фото", "--group", "3"}), 1);
    EXPECT_NE(m_err.find("Windows-1250"), std::string::npos) << m_err;
    EXPECT_FALSE(std::filesystem::exists(test::FsPath(m_data + "/Seznamy/Фото.sez")));
    EXPECT_EQ(test::ReadFile(m_data + "/settings.ini"), settings);
    ASSERT_EQ(Run({"scan", m_tree, "Příkop 2.0", "--group", "3"}), 0) << m_err;
    EXPECT_EQ(test::ReadFile(m_data + "/settings.ini"), settings + "P\xF8\xEDkop 2.0.sez=3\r\n");
}

TEST_F(CliFixture, StartRemovesTemporariesOfKilledWriters) {
    ASSERT_EQ(Run({"scan", m_tree, "Čtení na léto"}), 0) << m_err;
    const std::string list = m_data + "/Seznamy/Čtení na léto.sez";
    const std::string listBytes = test::ReadFile(list);
    test::WriteOldFile(list + ".tmp-k1LL3d", std::string(5000, 'x'));
    test::WriteOldFile(m_data + "/settings.ini.tmp-Xy12ab", "[Seznamy]\r\n");
    ASSERT_EQ(Run({"lists"}), 0) << m_err;
    EXPECT_FALSE(std::filesystem::exists(test::FsPath(list + ".tmp-k1LL3d")));
    EXPECT_FALSE(std::filesystem::exists(test::FsPath(m_data + "/settings.ini.tmp-Xy12ab")));
    EXPECT_EQ(test::ReadFile(list), listBytes);
}

TEST_F(CliFixture, TerminationSignalEndsWithoutLeavingATemporary) {
    VYP_LINUX_ONLY("Windows asks a console program to end through its console, not by a signal "
                   "a child can be sent");
#ifndef _WIN32
    const std::string list = m_data + "/Seznamy/Hudba.sez";
    std::filesystem::create_directories(test::FsPath(m_data + "/Seznamy"));
    test::WriteFile(list, "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) { // the companion in the middle of writing a list
        ExitCleanlyOnTerminationSignals();
        SafeFileWriter writer(list);
        writer.Write(std::string(200000, 'n'));
        ::kill(::getpid(), SIGTERM); // to the process, as kill(1) sends it
        ::pause();
        std::_Exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(test::FsPath(m_data + "/Seznamy")),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(test::ReadFile(list), "old");
#endif
}

TEST_F(CliFixture, ListsTreeAndShowPrintWhatTheWindowsShow) {
    ASSERT_EQ(Run({"scan", m_tree, "Disk", "--group", "4"}), 0);
    ASSERT_EQ(Run({"scan", m_tree + "/Games", "b.sezam"}), 0);
    ASSERT_EQ(Run({"lists"}), 0) << m_err;
    EXPECT_EQ(Fields(m_out, 4), (std::vector<std::string>{"b.sezam\t8\tNeurčeno\t1,00 MB",
                                                          "Disk\t4\tObrázky\t1,00 MB"}));
    // The list's file date in the regional short date and long time forms (dd.MM.yyyy H:mm:ss).
    const std::string row = Fields(m_out, 6)[0];
    const std::string date = row.substr(Fields(m_out, 4)[0].size() + 1, 10);
    EXPECT_TRUE(date.size() == 10 && date[2] == '.' && date[5] == '.' && std::isdigit(date[9]))
        << row;
    EXPECT_EQ(std::count(row.begin(), row.end(), ':'), 2) << row;

    ASSERT_EQ(Run({"tree", "Disk"}), 0);
    EXPECT_EQ(Fields(m_out, 4), (std::vector<std::string>{"1\tGames\tGames\\\t1,00 MB",
                                                          "2\tOld\tGames\\Old\\\t0,00 MB",
                                                          "1\tMusic\tMusic\\\t0,00 MB"}));

    ASSERT_EQ(Run({"show", "Disk.sez", "Games\\"}), 0);
    EXPECT_EQ(Fields(m_out, 3),
              (std::vector<std::string>{"alpha.txt\t0,00 MB\t2 B", "setup.exe\t1,00 MB\t1048576 B",
                                        "Zebra.txt\t0,00 MB\t1 B", "Počet souborů: 3",
                                        "Velikost: 1,00 MB"}));
    ASSERT_EQ(Run({"show", "Disk"}), 0);
    EXPECT_EQ(m_out.substr(m_out.find("Počet")), "Počet souborů: 1\nVelikost: 0,00 MB\n");
    EXPECT_EQ(Run({"show", "Disk", "Nothing\\"}), 1);
    EXPECT_EQ(m_err, "List index out of bounds (9)\n");
    EXPECT_EQ(Run({"tree", "Missing"}), 1);
}

TEST_F(CliFixture, SearchSortsByListNameAndCounts) {
    ASSERT_EQ(Run({"scan", m_tree, "zz", "--group", "2"}), 0);
    ASSERT_EQ(Run({"scan", m_tree, "Aa", "--group", "5"}), 0);
    ASSERT_EQ(Run({"search", "old"}), 0) << m_err;
    EXPECT_EQ(Fields(m_out, 2),
              (std::vector<std::string>{"Aa\tGames\\Old\\", "Aa\tGames\\Old\\old.zip",
                                        "zz\tGames\\Old\\", "zz\tGames\\Old\\old.zip",
                                        "Nalezených souborů: 2", "Nalezených adresářů: 2"}));
    ASSERT_EQ(Run({"search", "OLD.ZIP", "--groups", "2,3"}), 0);
    EXPECT_EQ(Fields(m_out, 4)[0], "zz\tGames\\Old\\old.zip\t0,00 MB\t2000 B");
    EXPECT_EQ(Fields(m_out, 4).size(), 3u);
    ASSERT_EQ(Run({"search", "autorun"}), 0);
    EXPECT_EQ(m_out.rfind("Aa\t" + test::Native(m_tree + "/autorun.inf") + "\t", 0), 0u);
    EXPECT_EQ(Run({"search", "x", "--groups", "1"}), 2);
}

// Every line of a list as the search prints it, whatever it holds: sizes that take the exponent
// form, negative, signed, huge or no number at all, missing and extra fields, a name longer than
// the usual line, times with dots, a line ended by LF alone and the last line by nothing.
TEST_F(CliFixture, SearchPrintsEveryKindOfLineAsTheListHoldsIt) {
    std::filesystem::create_directories(test::FsPath(m_data + "/Seznamy"));
    test::WriteFile(m_data + "/Seznamy/Zvláštní.sez",
                    "G:\\\t99999999999\r\n"
                    "Fotky 2020\\\t12345678901\t2020.1.2\t3:4.5\r\n"
                    "Přehled účtů (kopie).tar.gz\t-5\t2020.12.31\t23:59.59\r\n"
                    "Žluťoučký kůň úpěl ďábelské ódy, dlouhé jméno souboru.2020.mkv\t1048576\t"
                    "2020.5.6\t7:8.9\r\n"
                    "поврежденный 2020\tabc\t2020.1.1\r\n"
                    "写真 2020.jpg\t+0042\t2020.2.2\t2:2.2\tnavíc\r\n"
                    "Straße 2020.txt\t10485759999\t2020.3.3\t13.14.15\n"
                    "Noël 2020\t\t\t\r\n"
                    "Grüße.2020.tar.bz2\t0\t2020.4.4\t0:0.0\r\n"
                    "Été 2020.mp3\t-9223372036854775808\t2020.7.7\t7:7.7\r\n"
                    "A\\B 2020\t5\t2020.9.9\t9.9.9");
    ASSERT_EQ(Run({"search", "2020"}), 0) << m_err;
    EXPECT_EQ(m_out,
              "Zvláštní\tFotky 2020\\\t1,177E04 MB\t12345678901 B\t2020.1.2\t3:4:5\n"
              "Zvláštní\tFotky 2020\\Přehled účtů (kopie).tar.gz\t0,00 MB\t-5 B\t2020.12.31\t"
              "23:59:59\n"
              "Zvláštní\tFotky 2020\\Žluťoučký kůň úpěl ďábelské ódy, dlouhé jméno "
              "souboru.2020.mkv\t1,00 MB\t1048576 B\t2020.5.6\t7:8:9\n"
              "Zvláštní\tFotky 2020\\поврежденный 2020\t\tabc B\t2020.1.1\t\n"
              "Zvláštní\tFotky 2020\\写真 2020.jpg\t0,00 MB\t+0042 B\t2020.2.2\t2:2:2\n"
              "Zvláštní\tFotky 2020\\Straße 2020.txt\t1E04 MB\t10485759999 B\t2020.3.3\t"
              "13:14:15\n"
              "Zvláštní\tFotky 2020\\Noël 2020\t\t B\t\t\n"
              "Zvláštní\tFotky 2020\\Grüße.2020.tar.bz2\t0,00 MB\t0 B\t2020.4.4\t0:0:0\n"
              "Zvláštní\tFotky 2020\\Été 2020.mp3\t-8,796E12 MB\t-9223372036854775808 B\t"
              "2020.7.7\t7:7:7\n"
              "Zvláštní\tA\\B 2020\t0,00 MB\t5 B\t2020.9.9\t9:9:9\n"
              "Nalezených souborů: 8\nNalezených adresářů: 2\n");
}

// Output that takes so many bytes and then finds no memory for more.
class OutOfMemoryAfter : public std::streambuf {
public:
    explicit OutOfMemoryAfter(size_t limit) : m_limit(limit) {}
    const std::string& Taken() const { return m_taken; }

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const size_t room = m_limit - m_taken.size();
        m_taken.append(s, std::min(room, static_cast<size_t>(n)));
        if (static_cast<size_t>(n) > room)
            throw std::bad_alloc();
        return n;
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char one = traits_type::to_char_type(c);
        xsputn(&one, 1);
        return c;
    }

private:
    size_t m_limit;
    std::string m_taken;
};

// A search whose output runs out of memory part way ends with what it printed, a failure status
// and a message in the program's words, as does a command that runs out before printing.
TEST_F(CliFixture, OutOfMemoryEndsTheCommandWithWhatWasPrintedAndSaysSo) {
    ASSERT_EQ(Run({"scan", m_tree, "Záloha Straße", "--group", "2"}), 0);
    ASSERT_EQ(Run({"scan", m_tree, "Фото 東京", "--group", "5"}), 0);
    ASSERT_EQ(Run({"search", "."}), 0) << m_err;
    const std::string whole = m_out;
    ASSERT_GT(whole.size(), 100u);
    OutOfMemoryAfter output(whole.size() / 2);
    std::ostream out(&output);
    out.exceptions(std::ios::badbit);
    std::ostringstream err;
    EXPECT_EQ(RunCli({"search", "."}, m_environment, out, err), 1);
    EXPECT_EQ(output.Taken(), whole.substr(0, whole.size() / 2));
    EXPECT_EQ(err.str(), "Pro dokončení příkazu není dost paměti.\n");

    m_environment.defaultDataFolder = []() -> std::string {
        throw std::bad_alloc();
    };
    EXPECT_EQ(Run({"search", "."}), 1);
    EXPECT_EQ(m_out, "");
    EXPECT_EQ(m_err, "Pro dokončení příkazu není dost paměti.\n");
}

TEST_F(CliFixture, DuplicatesPrintsTheSetsThatWasteMostFirst) {
    ASSERT_EQ(Run({"scan", m_tree, "Disk", "--group", "3"}), 0);
    ASSERT_EQ(Run({"scan", m_tree + "/Games", "Hry zvlášť", "--group", "5"}), 0);
    // One more copy of old.zip whose name differs in the case of its letters.
    test::WriteFile(m_data + "/Seznamy/Záloha.sez",
                    "F:\\\t2000\r\nStaré Hry\\\t2000\t2004.1.15\t9:30.0\r\n"
                    "OLD.ZIP\t2000\t2004.1.15\t9:30.0\r\nprázdný.txt\t0\t2004.1.15\t9:30.0\r\n");
    ASSERT_EQ(Run({"duplicates"}), 0) << m_err;
    const std::string games = test::Native(m_tree + "/Games/");
    EXPECT_EQ(Fields(m_out, 3),
              (std::vector<std::string>{
                  "Disk\tGames\\setup.exe\t1,00 MB", "Hry zvlášť\t" + games + "setup.exe\t1,00 MB",
                  "", "Disk\tGames\\Old\\old.zip\t0,00 MB", "Hry zvlášť\tOld\\old.zip\t0,00 MB",
                  "Záloha\tStaré Hry\\OLD.ZIP\t0,00 MB", "", "Disk\tGames\\alpha.txt\t0,00 MB",
                  "Hry zvlášť\t" + games + "alpha.txt\t0,00 MB", "",
                  "Disk\tGames\\Zebra.txt\t0,00 MB", "Hry zvlášť\t" + games + "Zebra.txt\t0,00 MB",
                  "", "Sad: 4", "Zbytečně zabráno: 1,00 MB"}));
    EXPECT_EQ(m_err, "");

    ASSERT_EQ(Run({"duplicates", "--min-size", "2000", "--csv"}), 0);
    std::vector<std::string> csv;
    std::istringstream in(m_out);
    for (std::string row; std::getline(in, row);) {
        const size_t exact = row.find(" B,"); // the row up to the exact size
        csv.push_back(exact == std::string::npos ? row : row.substr(0, exact + 2));
    }
    EXPECT_EQ(csv, (std::vector<std::string>{
                       "Sada,Seznam,Soubor / složka,Velikost,Přesná velikost,Datum,Čas,Velikost "
                       "v bajtech\r",
                       "1,Disk,Games\\setup.exe,\"1,00 MB\",1048576 B",
                       "1,Hry zvlášť," + games + "setup.exe,\"1,00 MB\",1048576 B",
                       "2,Disk,Games\\Old\\old.zip,\"0,00 MB\",2000 B",
                       "2,Hry zvlášť,Old\\old.zip,\"0,00 MB\",2000 B",
                       "2,Záloha,Staré Hry\\OLD.ZIP,\"0,00 MB\",2000 B"}));
    EXPECT_NE(m_out.find(",2000 B,2004.1.15,9:30:0,2000\r\n"), std::string::npos);

    ASSERT_EQ(Run({"duplicates", "--groups", "3,8"}), 0);
    EXPECT_EQ(Fields(m_out, 2),
              (std::vector<std::string>{"Disk\tGames\\Old\\old.zip", "Záloha\tStaré Hry\\OLD.ZIP",
                                        "", "Sad: 1", "Zbytečně zabráno: 0,00 MB"}));
    ASSERT_EQ(Run({"duplicates", "--groups", "2"}), 0);
    EXPECT_EQ(m_out, "Sad: 0\nZbytečně zabráno: 0,00 MB\n");
}

#ifndef _WIN32
// A list that is registered but cannot be read (its file is a link to nothing): the search and
// the duplicates name it once and go on with the others, status 1; the comparison cannot go on
// without it, status 2.
TEST_F(CliFixture, UnreadableListIsNamedAndTellsInTheExitStatus) {
    ASSERT_EQ(Run({"scan", m_tree, "Disk"}), 0);
    ASSERT_EQ(Run({"scan", m_tree + "/Games", "Hry zvlášť"}), 0);
    const std::string lost = m_data + "/Seznamy/Ztracený disk.sez";
    ASSERT_EQ(::symlink((m_dir / "nikde/Ztracený disk.sez").c_str(), lost.c_str()), 0);
    const std::string named = "Cannot open file \"" + test::Native(lost) + "\". ";

    EXPECT_EQ(Run({"search", "setup"}), 1);
    EXPECT_EQ(m_err.rfind(named, 0), 0u) << m_err;
    EXPECT_EQ(std::count(m_err.begin(), m_err.end(), '\n'), 1);
    EXPECT_EQ(Fields(m_out, 2),
              (std::vector<std::string>{"Disk\tGames\\setup.exe",
                                        "Hry zvlášť\t" + test::Native(m_tree + "/Games/setup.exe"),
                                        "Nalezených souborů: 2", "Nalezených adresářů: 0"}));
    const std::string searchError = m_err;

    EXPECT_EQ(Run({"duplicates", "--min-size", "1000"}), 1);
    EXPECT_EQ(m_err, searchError);
    EXPECT_EQ(Fields(m_out, 2),
              (std::vector<std::string>{"Disk\tGames\\setup.exe",
                                        "Hry zvlášť\t" + test::Native(m_tree + "/Games/setup.exe"),
                                        "", "Disk\tGames\\Old\\old.zip", "Hry zvlášť\tOld\\old.zip",
                                        "", "Sad: 2", "Zbytečně zabráno: 1,00 MB"}));
    EXPECT_EQ(Run({"duplicates", "--min-size", "1000", "--csv"}), 1);
    EXPECT_EQ(m_err, searchError);
    // Found nothing, but a list was left out: still 1.
    EXPECT_EQ(Run({"duplicates", "--min-size", "2000000"}), 1);
    EXPECT_EQ(m_out, "Sad: 0\nZbytečně zabráno: 0,00 MB\n");
    EXPECT_EQ(m_err, searchError);

    for (const auto& names :
         {std::vector<std::string>{"compare", "Disk", "Ztracený disk"},
          std::vector<std::string>{"compare", "Ztracený disk", "Disk"},
          std::vector<std::string>{"compare", "Ztracený disk", "Disk", "--csv"}}) {
        EXPECT_EQ(Run(names), 2);
        EXPECT_EQ(m_err, searchError);
        EXPECT_EQ(m_out, "");
    }
    // Once the list is gone from the folder, every command is as content as before.
    std::filesystem::remove(test::FsPath(lost));
    EXPECT_EQ(Run({"search", "setup"}), 0);
    EXPECT_EQ(Run({"duplicates", "--min-size", "1000"}), 0);
    EXPECT_EQ(m_err, "");
}
#endif

TEST_F(CliFixture, CompareTellsWhatDiffersAndExitsAsDiffDoes) {
    ASSERT_EQ(Run({"scan", m_tree, "Disk"}), 0);
    std::filesystem::remove(test::FsPath(m_tree + "/Games/alpha.txt"));
    test::WriteFile(m_tree + "/Games/Zebra.txt", "zebra");
    test::WriteFile(m_tree + "/Music/Čardáš.mp3", "la");
    ASSERT_EQ(Run({"scan", m_tree, "Disk 2"}), 0);
    EXPECT_EQ(Run({"compare", "Disk", "Disk 2"}), 1) << m_err;
    const std::vector<std::string> lines = Fields(m_out, 8);
    ASSERT_EQ(lines.size(), 7u) << m_out;
    // The first list's order: "alpha" before "Zebra", as the scan enumerates.
    EXPECT_EQ(lines[0].substr(0, lines[0].find("\t2 B\t")), "Jen v prvním\tGames\\alpha.txt");
    EXPECT_EQ(lines[0].substr(lines[0].size() - 3), "\t\t\t");
    EXPECT_EQ(lines[1].substr(0, lines[1].find("\t1 B\t")), "Změněno\tGames\\Zebra.txt");
    EXPECT_NE(lines[1].find("\t5 B\t"), std::string::npos);
    EXPECT_EQ(lines[2].substr(0, lines[2].rfind("\t2 B\t")),
              "Jen ve druhém\tMusic\\Čardáš.mp3\t\t\t");
    EXPECT_EQ(
        std::vector<std::string>(lines.begin() + 3, lines.end()),
        (std::vector<std::string>{
            "Složky: přidáno 0, odebráno 0, změněno 0", "Soubory: přidáno 1, odebráno 1, změněno 1",
            "První seznam: počet složek: 3, počet souborů: 5, velikost: 1,00 MB",
            "Druhý seznam: počet složek: 3, počet souborů: 5, velikost: 1,00 MB"}));

    EXPECT_EQ(Run({"compare", "Disk", "Disk 2", "--csv"}), 1);
    EXPECT_EQ(m_out.substr(0, m_out.find("\r\n")),
              "Změna,Cesta,Velikost v bajtech 1,Datum 1,Čas 1,Velikost v bajtech 2,Datum 2,Čas 2");
    EXPECT_NE(m_out.find("\r\nJen v prvním,Games\\alpha.txt,2,"), std::string::npos);
    EXPECT_NE(m_out.find(",,,\r\n"), std::string::npos); // only in the first: no second side
    EXPECT_EQ(m_out.find("Složky"), std::string::npos);

    EXPECT_EQ(Run({"compare", "Disk", "Disk.sez"}), 0);
    EXPECT_EQ(Fields(m_out, 1)[0], "Seznamy obsahují stejné položky.");
    EXPECT_EQ(Run({"compare", "Disk", "Chybí"}), 2);
    EXPECT_EQ(m_err, "Seznam \"Chybí\" neexistuje.\n");
    EXPECT_EQ(m_out, "");
}

// Lists written by hand, as other programs and older versions left them: times stored with "."
// shown with ":", names that CSV must quote, a line without fields, folders on one side only.
TEST_F(CliFixture, CompareWritesEveryKindOfDifferenceByteForByte) {
    std::filesystem::create_directories(test::FsPath(m_data + "/Seznamy"));
    test::WriteFile(m_data + "/Seznamy/Originál.sez",
                    "E:\\\t3000\r\n"
                    "Čtení na léto.PDF\t1200\t2019.5.1\t8.05.12\r\n"
                    "Musik\\\t0\t2019.5.1\t9:00.0\r\n"
                    "Straße \"neu\", Teil 2.mp3\t700\t2019.5.2\t10:01.30\r\n"
                    "Noël.txt\t5\t2019.5.3\t11:0.0\r\n"
                    "Фото\\\t0\t2019.5.1\t9:00.0\r\n"
                    "Москва.jpg\t100\t2019.5.4\t12:0.0\r\n"
                    "東京\\\t0\t2019.5.1\t9:00.0\r\n"
                    "写真.png\t50\t2019.5.5\t13:0.0\r\n"
                    "Poškozený řádek\r\n");
    test::WriteFile(m_data + "/Seznamy/Záloha.sez",
                    "E:\\\t2900\r\n"
                    "Čtení na léto.PDF\t1200\t2019.5.1\t8:05:12\r\n"
                    "Musik\\\t0\t2019.5.1\t9:00.0\r\n"
                    "Straße \"neu\", Teil 2.mp3\t701\t2019.5.2\t10.01.30\r\n"
                    "Фото\\\t0\t2019.5.1\t9:00.0\r\n"
                    "Москва.jpg\t100\t2019.5.4\t12:0.0\r\n"
                    "Nový\\\t0\t2019.6.1\t9:00.0\r\n"
                    "Zdeněk.doc\t9\t2019.6.1\t9:00.2\r\n");
    EXPECT_EQ(Run({"compare", "Originál", "Záloha"}), 1) << m_err;
    EXPECT_EQ(m_out.substr(0, m_out.find("Složky")),
              "Změněno\tMusik\\Straße \"neu\", Teil 2.mp3\t700 B\t2019.5.2\t10:01:30\t701 B\t"
              "2019.5.2\t10:01:30\n"
              "Jen v prvním\tMusik\\Noël.txt\t5 B\t2019.5.3\t11:0:0\t\t\t\n"
              "Jen v prvním\t東京\\\t0 B\t2019.5.1\t9:00:0\t\t\t\n"
              "Jen v prvním\t東京\\写真.png\t50 B\t2019.5.5\t13:0:0\t\t\t\n"
              "Jen v prvním\t東京\\Poškozený řádek\t\t\t\t\t\t\n"
              "Jen ve druhém\tNový\\\t\t\t\t0 B\t2019.6.1\t9:00:0\n"
              "Jen ve druhém\tNový\\Zdeněk.doc\t\t\t\t9 B\t2019.6.1\t9:00:2\n");
    EXPECT_NE(m_out.find("Složky: přidáno 1, odebráno 1, změněno 0\n"
                         "Soubory: přidáno 1, odebráno 3, změněno 1\n"),
              std::string::npos);

    EXPECT_EQ(Run({"compare", "Originál", "Záloha", "--csv"}), 1) << m_err;
    EXPECT_EQ(
        m_out,
        "Změna,Cesta,Velikost v bajtech 1,Datum 1,Čas 1,Velikost v bajtech 2,Datum 2,Čas 2\r\n"
        "Změněno,\"Musik\\Straße \"\"neu\"\", Teil 2.mp3\",700,2019.5.2,10:01:30,701,"
        "2019.5.2,10:01:30\r\n"
        "Jen v prvním,Musik\\Noël.txt,5,2019.5.3,11:0:0,,,\r\n"
        "Jen v prvním,東京\\,0,2019.5.1,9:00:0,,,\r\n"
        "Jen v prvním,東京\\写真.png,50,2019.5.5,13:0:0,,,\r\n"
        "Jen v prvním,東京\\Poškozený řádek,,,,,,\r\n"
        "Jen ve druhém,Nový\\,,,,0,2019.6.1,9:00:0\r\n"
        "Jen ve druhém,Nový\\Zdeněk.doc,,,,9,2019.6.1,9:00:2\r\n");
}

// Output of many megabytes is written in pieces while the rest is made: every line once, in
// order.
TEST_F(CliFixture, CompareOfListsThatDifferThroughoutWritesEveryLineInOrder) {
    constexpr int kFiles = 40000;
    std::filesystem::create_directories(test::FsPath(m_data + "/Seznamy"));
    std::string first = "E:\\\t0\r\nDokumenty\\\t0\t2024.1.1\t8:0.0\r\n";
    std::string second = "F:\\\t0\r\nФото\\\t0\t2024.1.1\t8:0.0\r\n";
    for (int i = 0; i < kFiles; ++i) {
        first += "Übersicht Kapitel " + std::to_string(i) + " – Résumé.pdf\t" +
                 std::to_string(100 + i) + "\t2024.3.1\t8:0.0\r\n";
        second += "東京の写真 " + std::to_string(i) + ".png\t" + std::to_string(100 + i) +
                  "\t2024.3.1\t8.0.0\r\n";
    }
    test::WriteFile(m_data + "/Seznamy/Dokumenty.sez", first);
    test::WriteFile(m_data + "/Seznamy/Fotky.sez", second);
    for (const bool csv : {false, true}) {
        std::vector<std::string> args{"compare", "Dokumenty", "Fotky"};
        if (csv)
            args.emplace_back("--csv");
        EXPECT_EQ(Run(args), 1) << m_err;
        ASSERT_GT(m_out.size(), size_t{4} << 20);
        std::vector<std::string> lines;
        std::istringstream in(m_out);
        for (std::string text; std::getline(in, text);)
            lines.push_back(text);
        const size_t head = csv ? 1 : 0;
        ASSERT_EQ(lines.size(), head + 2 * (kFiles + 1) + (csv ? 0 : 4));
        const char separator = csv ? ',' : '\t';
        for (int i = 0; i < kFiles; i += 997) {
            const std::string& only1 = lines[head + 1 + static_cast<size_t>(i)];
            EXPECT_EQ(only1.substr(0, only1.find(separator, only1.find(separator) + 1)),
                      std::string("Jen v prvním") + separator + "Dokumenty\\Übersicht Kapitel " +
                          std::to_string(i) + " – Résumé.pdf");
            const std::string& only2 = lines[head + kFiles + 2 + static_cast<size_t>(i)];
            EXPECT_EQ(only2.substr(0, only2.find(separator, only2.find(separator) + 1)),
                      std::string("Jen ve druhém") + separator + "Фото\\東京の写真 " +
                          std::to_string(i) + ".png");
        }
    }
    EXPECT_TRUE(
        m_out.ends_with("Jen ve druhém,Фото\\東京の写真 39999.png,,,,40099,2024.3.1,8:0:0\r\n"))
        << m_out.substr(m_out.size() - 200);
}

// The usage as it has always read, byte for byte.
const char* const kUsage =
    "usage:\n"
    "  vypisnik-cli [--data DIR] scan FOLDER NAME [--group ID] [--folders-only] [--overwrite]\n"
    "  vypisnik-cli [--data DIR] lists\n"
    "  vypisnik-cli [--data DIR] tree NAME\n"
    "  vypisnik-cli [--data DIR] rescan NAME [--force]\n"
    "  vypisnik-cli [--data DIR] show NAME [FOLDER] [--csv]\n"
    "  vypisnik-cli [--data DIR] search TEXT [--groups ID,ID,...] [--csv]\n"
    "  vypisnik-cli [--data DIR] duplicates [--groups ID,ID,...] [--min-size BYTES] [--csv]\n"
    "  vypisnik-cli [--data DIR] compare NAME_A NAME_B [--csv]\n"
    "\n"
    "--data DIR   the folder that holds \"Seznamy\" and \"settings.ini\" (default: the folder of\n"
#ifdef _WIN32
    "             the executable, or %APPDATA%\\Vypisnik when the program is installed)\n"
#else
    "             the executable, or ~/.local/share/Vypisnik when the program is installed)\n"
#endif
    "Rows are printed one a line, fields separated by TAB, as the windows show them.\n"
    "rescan       scans the list's folder again, replaces the list under the same name (its\n"
    "             group stays) and prints what changed; when more than half of the list's\n"
    "             entries would disappear (the wrong disc?) it changes nothing unless --force\n"
    "             is given\n"
    "duplicates   prints the files kept more than once: names alike whatever the case of\n"
    "             their letters (accents count), sizes equal to the byte and at least\n"
    "             --min-size (1 byte: empty files are never duplicates); the sets that waste\n"
    "             most first, each copy a line, an empty line between sets. Exit status 0\n"
    "             whether or not any were found; 1 when a list could not be read (it is named,\n"
    "             the others still count), as a search's\n"
    "compare      prints what differs between two lists, entry by entry by relative path:\n"
    "             \"Jen v prvním\", \"Jen ve druhém\" and \"Změněno\" (a file whose size, date or\n"
    "             time differs; folders count by presence only), in the lists' pre-order, the\n"
    "             entries of NAME_A first, then what only NAME_B holds; then the summary. Exit\n"
    "             status 0 when the lists hold the same entries, 1 when they differ, 2 when a\n"
    "             list is unknown or cannot be read\n"
    "--csv        prints the rows as CSV (UTF-8, a header line, CR LF line ends) with the\n"
    "             exact size in bytes as the last column, and no totals\n";

TEST_F(CliFixture, HelpAndUsageErrors) {
    EXPECT_EQ(CliUsage(), kUsage);
    for (const std::vector<std::string>& words : {std::vector<std::string>{"--help"},
                                                  {"-h"},
                                                  {"search", "x", "--help"},
                                                  {"tree", "-h"},
                                                  {"frobnicate", "--help"}}) {
        EXPECT_EQ(Run(words), 0) << words[0];
        EXPECT_EQ(m_out, kUsage);
        EXPECT_EQ(m_err, "");
    }
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(m_out, "vypisnik-cli 0.1\n");
    EXPECT_EQ(Run({"lists", "--version"}), 0);
    EXPECT_EQ(m_out, "vypisnik-cli 0.1\n");

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{}, "chybí příkaz"},
        {{"--data", m_data}, "chybí příkaz"},
        {{"frobnicate"}, "neznámý příkaz: frobnicate"},
        {{"--csv", "search", "x"}, "neznámá volba: --csv"},
        {{"--data"}, "chybí hodnota volby --data"},
        {{"scan", m_tree}, "scan potřebuje FOLDER a NAME"},
        {{"scan", m_tree, "X", "--group", "9"}, "Skupina musí být číslo 2 až 8: 9"},
        {{"scan", m_tree, "X", "--group"}, "chybí hodnota volby --group"},
        {{"scan", m_tree, "X", "--overwrite=ano"}, "volba --overwrite nebere hodnotu"},
        {{"scan", m_tree, "X", "--csv"}, "neznámá volba: --csv"},
        {{"lists", "Disk"}, "lists nepotřebuje žádné další slovo"},
        {{"tree"}, "tree potřebuje NAME"},
        {{"tree", "A", "B"}, "tree potřebuje NAME"},
        {{"rescan"}, "rescan potřebuje NAME"},
        {{"rescan", "Disk", "--all"}, "neznámá volba: --all"},
        {{"show"}, "show potřebuje NAME [FOLDER]"},
        {{"show", "Disk", "Games\\", "Old\\"}, "show potřebuje NAME [FOLDER]"},
        {{"search"}, "search potřebuje TEXT"},
        {{"search", "a", "b"}, "search potřebuje jeden TEXT"},
        {{"search", "x", "--groups", "1"}, "Skupina musí být číslo 2 až 8: 1"},
        {{"search", "x", "--groups", "2,,3"}, "Skupina musí být číslo 2 až 8: "},
        {{"duplicates", "Disk"}, "duplicates nepotřebuje žádné další slovo"},
        {{"duplicates", "--min-size", "-1"}, "--min-size musí být počet bajtů: -1"},
        {{"duplicates", "--min-size", "1 MB"}, "--min-size musí být počet bajtů: 1 MB"},
        {{"duplicates", "--groups", "9"}, "Skupina musí být číslo 2 až 8: 9"},
        {{"compare", "Disk"}, "compare potřebuje NAME_A a NAME_B"},
        {{"compare", "A", "B", "C"}, "compare potřebuje NAME_A a NAME_B"},
    };
    for (const auto& [words, message] : refused) {
        EXPECT_EQ(Run(words), 2) << message;
        EXPECT_EQ(m_out, "");
        EXPECT_EQ(m_err, "vypisnik-cli: " + message + "\n\n" + kUsage);
    }
}

TEST_F(CliFixture, HelpVersionAndUsageErrorsLeaveTheDataFolderUntouched) {
    const std::string listFolder = m_data + "/Seznamy";
    std::filesystem::create_directories(test::FsPath(listFolder));
    const std::string killedList = listFolder + "/Dovolená u moře.sez.tmp-k1LL3d";
    const std::string killedSettings = m_data + "/settings.ini.tmp-Xy12ab";
    test::WriteOldFile(killedList, "E:\\\t0\r\n");
    test::WriteOldFile(killedSettings, "[Seznamy]\r\n");
    const std::string unmade = m_dir / "Nová data";
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"--help"},
          {"--version"},
          {"--data", unmade, "--help"},
          {"lists", "--data", unmade, "--version"},
          {"frobnicate"},
          {"scan", m_tree},
          {"--data", unmade, "scan", m_tree, "Hudba", "--group", "9"},
          {"rescan", "Disk", "--all"},
          {"search", "x", "--groups", "1"},
          {"show"},
          {"lists", "Disk"},
          {"--data"}}) {
        Run(words);
        EXPECT_TRUE(std::filesystem::exists(test::FsPath(killedList))) << words[0];
        EXPECT_TRUE(std::filesystem::exists(test::FsPath(killedSettings))) << words[0];
        EXPECT_FALSE(std::filesystem::exists(test::FsPath(unmade))) << words[0];
    }
    EXPECT_EQ(m_defaultDataFolderAsked, 0);
    ASSERT_EQ(Run({"lists"}), 0) << m_err;
    EXPECT_EQ(m_defaultDataFolderAsked, 1);
    EXPECT_FALSE(std::filesystem::exists(test::FsPath(killedList)));
    EXPECT_FALSE(std::filesystem::exists(test::FsPath(killedSettings)));
}

TEST_F(CliFixture, DataFolderIsTakenAnywhereTheLastOneCounting) {
    const std::string other = m_dir / "Jiná data – Ärger";
    std::filesystem::create_directories(test::FsPath(other));
    ASSERT_EQ(Run({"scan", m_tree, "Disk", "--data", other, "--group", "5"}), 0) << m_err;
    EXPECT_TRUE(std::filesystem::exists(test::FsPath(other + "/Seznamy/Disk.sez")));
    EXPECT_FALSE(std::filesystem::exists(test::FsPath(m_data + "/Seznamy/Disk.sez")));
    ASSERT_EQ(Run({"lists", "--data=" + other}), 0) << m_err;
    EXPECT_EQ(Fields(m_out, 3), (std::vector<std::string>{"Disk\t5\tHudba"}));
    ASSERT_EQ(Run({"--data", m_data, "lists", "--data", other}), 0) << m_err;
    EXPECT_EQ(Fields(m_out, 1), (std::vector<std::string>{"Disk"}));
    ASSERT_EQ(Run({"--data", other, "lists", "--data", m_data}), 0) << m_err;
    EXPECT_EQ(m_out, "");
    EXPECT_EQ(m_defaultDataFolderAsked, 0);
    ASSERT_EQ(Run({"show", "--data", other, "Disk", "Games\\", "--csv"}), 0) << m_err;
    EXPECT_EQ(std::count(m_out.begin(), m_out.end(), '\n'), 4);
}

// Words that start with "-" are names and texts, not options, and "--" lets any word be one;
// words that are not UTF-8 keep their bytes.
TEST_F(CliFixture, WordsKeepTheirDashesAndBytes) {
    test::WriteFile(m_tree + "/Music/Koncert -720p.mkv", "v");
    test::WriteFile(m_tree + "/Music/--Mix--.mp3", "m");
    ASSERT_EQ(Run({"scan", m_tree, "-Záloha-"}), 0) << m_err;
    ASSERT_EQ(Run({"search", "-720p"}), 0) << m_err;
    EXPECT_EQ(Fields(m_out, 2)[0], "-Záloha-\tMusic\\Koncert -720p.mkv");
    ASSERT_EQ(Run({"search", "--", "--mix"}), 0) << m_err;
    EXPECT_EQ(Fields(m_out, 2)[0], "-Záloha-\tMusic\\--Mix--.mp3");
    ASSERT_EQ(Run({"show", "-Záloha-", "-"}), 1); // no folder "-" in the list
    EXPECT_TRUE(m_err.starts_with("List index out of bounds")) << m_err;
    ASSERT_EQ(Run({"tree", "--", "-Záloha-"}), 0) << m_err;
    EXPECT_EQ(Fields(m_out, 2).size(), 3u);

#ifndef _WIN32 // names on Windows are UTF-16, never other bytes
    const std::string latin2 = m_dir / "Z\xe1loha \xe8\x65rven"; // Windows-1250, not UTF-8
    std::filesystem::create_directories(test::FsPath(latin2 + "/Fotky"));
    ASSERT_EQ(Run({"scan", latin2, "Červen"}), 0) << m_err;
    const std::string list = test::ReadFile(m_data + "/Seznamy/Červen.sez");
    EXPECT_EQ(list.substr(0, list.find('\t')), latin2 + "/");
#endif
}

// The executable itself, with the regional settings of the C locale (on Windows, the user's
// settings of the test machine: English under Wine).
TEST_F(CliFixture, ExecutableUsesTheEnvironmentsLocale) {
    ASSERT_EQ(Run({"scan", m_tree, "Disk"}), 0);
#ifdef _WIN32
    // The whole line in quotes once more: cmd.exe takes away the outer pair.
    const std::string command = "\"\"" + ExecutableFolder() + VYPISNIK_CLI_PATH + "\" --data \"" +
                                m_data + "\" show Disk Games\\ 2>&1\"";
    FILE* pipe = ::_popen(command.c_str(), "rb");
#else
    const std::string command = "LC_ALL=C '" + std::string(VYPISNIK_CLI_PATH) + "' --data '" +
                                m_data + "' show Disk Games\\\\ 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
#endif
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
#ifdef _WIN32
    EXPECT_EQ(::_pclose(pipe), 0) << output;
#else
    EXPECT_EQ(WEXITSTATUS(::pclose(pipe)), 0) << output;
#endif
    EXPECT_NE(output.find("Velikost: 1.00 MB\n"), std::string::npos) << output;
    EXPECT_NE(output.find("setup.exe\t1.00 MB\t1048576 B\t"), std::string::npos) << output;
}

} // namespace
} // namespace vyp

namespace vyp {
namespace {

#ifdef _WIN32
// Windows: paths longer than the classic 260 characters are scanned whole.
TEST_F(CliFixture, ScanTakesPathsLongerThanTheClassicLimitWhole) {
    const std::string name = "Hluboká složka – Tiefer Ordner";
    std::string deepest = m_tree;
    for (int i = 0; i < 12; ++i) // about 400 characters of path
        deepest += "\\" + name;
    std::filesystem::create_directories(test::FsPath(deepest));
    test::WriteFile(deepest + "\\Poslední soubor – dernier fichier.txt", "hluboko");
    ASSERT_EQ(Run({"scan", m_tree, "Hluboký"}), 0) << m_err;
    const std::string list = test::ReadFile(m_data + "/Seznamy/Hluboký.sez");
    std::string relative;
    for (int i = 0; i < 12; ++i)
        relative += name + "\\";
    EXPECT_NE(list.find("\r\n" + relative + "\t7\t"), std::string::npos) << list;
    EXPECT_NE(list.find("\r\nPoslední soubor – dernier fichier.txt\t7\t"), std::string::npos);
    // Deepest first, in the long form, which std::filesystem does not use on its own.
    ::DeleteFileW(
        (L"\\\\?\\" + test::FsPath(deepest + "\\Poslední soubor – dernier fichier.txt").wstring())
            .c_str());
    for (std::string folder = deepest; folder.size() > m_tree.size();
         folder.resize(folder.rfind('\\')))
        EXPECT_TRUE(::RemoveDirectoryW((L"\\\\?\\" + test::FsPath(folder).wstring()).c_str()));
}
#else
// Linux: a tree deeper than the longest path the system takes is not cut silently: the list is
// written, and the user is told that part of the tree could not be read.
TEST_F(CliFixture, ScanTellsWhenPartOfTheTreeCouldNotBeRead) {
    const std::string name = "Hluboká složka – Tiefer Ordner"; // 33 bytes a level
    std::vector<int> levels{::open(m_tree.c_str(), O_RDONLY | O_DIRECTORY)};
    for (int i = 0; i < 200; ++i) { // 6,800 bytes of path, more than PATH_MAX
        ASSERT_EQ(::mkdirat(levels.back(), name.c_str(), 0755), 0);
        levels.push_back(::openat(levels.back(), name.c_str(), O_RDONLY | O_DIRECTORY));
    }
    EXPECT_EQ(Run({"scan", m_tree, "Hluboký"}), 1);
    EXPECT_NE(m_err.find("se nepodařilo přečíst"), std::string::npos) << m_err;
    EXPECT_TRUE(std::filesystem::exists(test::FsPath(m_data + "/Seznamy/Hluboký.sez")));
    for (size_t i = levels.size() - 1; i > 0; --i) { // the chain is too deep for remove_all
        ::close(levels[i]);
        ::unlinkat(levels[i - 1], name.c_str(), AT_REMOVEDIR);
    }
    ::close(levels[0]);
}
#endif

} // namespace
} // namespace vyp

namespace vyp {
namespace {

TEST_F(CliFixture, RescanPrintsWhatChangedAndKeepsTheGroup) {
    ASSERT_EQ(Run({"scan", m_tree, "Disk", "--group", "3"}), 0) << m_err;
    test::WriteFile(m_tree + "/autorun.inf", std::string(46, 'a'));
    test::WriteFile(m_tree + "/Games/Nový soubor, verze 2.txt", "12345");
    std::filesystem::remove(test::FsPath(m_tree + "/Games/Zebra.txt"));

    ASSERT_EQ(Run({"rescan", "Disk"}), 0) << m_err;
    EXPECT_EQ(m_out, "Složky: přidáno 0, odebráno 0, změněno 1\n"
                     "Soubory: přidáno 1, odebráno 1, změněno 1\n"
                     "Počet složek: 3, počet souborů: 5, velikost: 1,00 MB\n");
    EXPECT_EQ(test::ReadFile(m_data + "/settings.ini"), "[Seznamy]\r\nDisk.sez=3\r\n");
    ASSERT_EQ(Run({"scan", m_tree, "Nově"}), 0);
    EXPECT_EQ(test::ReadFile(m_data + "/Seznamy/Disk.sez"),
              test::ReadFile(m_data + "/Seznamy/Nově.sez"));

    ASSERT_EQ(Run({"rescan", "Disk.sez"}), 0);
    EXPECT_EQ(m_out.substr(0, m_out.find('\n')),
              "Seznam odpovídá obsahu složky, nic se nezměnilo.");
    EXPECT_EQ(Run({"rescan", "Žádný"}), 1);
    EXPECT_EQ(m_err, "Seznam \"Žádný\" neexistuje.\n");
    EXPECT_EQ(Run({"rescan"}), 2);
    EXPECT_EQ(Run({"rescan", "Disk", "--all"}), 2);
}

TEST_F(CliFixture, RescanWithoutTheDiscOrWithAnotherOneChangesNothing) {
    ASSERT_EQ(Run({"scan", m_tree, "Disk"}), 0) << m_err;
    const std::string list = m_data + "/Seznamy/Disk.sez";
    const std::string before = test::ReadFile(list);
    std::filesystem::rename(test::FsPath(m_tree), test::FsPath(m_tree + " (vysunuto)"));

    EXPECT_EQ(Run({"rescan", "Disk", "--force"}), 1);
    EXPECT_EQ(m_err, "Složku \"" + test::Native(m_tree + "/") +
                         "\" nelze otevřít; vložte disk, ze kterého byl seznam vytvořen. "
                         "Seznam zůstal beze změny.\n");
    EXPECT_EQ(test::ReadFile(list), before);

    std::filesystem::create_directories(test::FsPath(m_tree)); // an empty mount point
    EXPECT_EQ(Run({"rescan", "Disk"}), 1);
    EXPECT_EQ(m_out, "");
    EXPECT_EQ(m_err, "Ze seznamu by zmizelo 8 z 8 položek, víc než polovina. Je vložen správný "
                     "disk? Seznam zůstal beze změny; nahradíte jej volbou --force.\n");
    EXPECT_EQ(test::ReadFile(list), before);

    ASSERT_EQ(Run({"rescan", "Disk", "--force"}), 0) << m_err;
    EXPECT_EQ(test::ReadFile(list), test::Native(m_tree + "/") + "\t0\r\n");
}

// The rows as Python's csv module reads them back: per row its field count and the fields at
// the given indexes, as JSON.
std::vector<std::string> ReadBackCsv(const std::string& csvPath, const std::string& indexes) {
#ifdef _WIN32
    static_cast<void>(csvPath);
    static_cast<void>(indexes);
    return {};
#else
    const std::string command =
        "python3 -c 'import csv, json, sys\n"
        "rows = list(csv.reader(open(sys.argv[1], newline=\"\", encoding=\"utf-8\")))\n"
        "for r in rows: print(json.dumps([len(r)] + [r[int(i)] for i in sys.argv[2].split(\",\")],"
        " ensure_ascii=False))' '" +
        csvPath + "' " + indexes;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    EXPECT_EQ(WEXITSTATUS(::pclose(pipe)), 0);
    std::vector<std::string> rows;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        rows.push_back(line);
    return rows;
#endif
}

TEST_F(CliFixture, CsvOfShowAndSearchReadsBackAsTheTable) {
    VYP_LINUX_ONLY("the rows are read back by Python's csv module, which Windows does not have");
    test::WriteFile(m_tree + "/Games/Kino, \"Группа крови\".mp3", std::string(3000, 'k'));
    test::WriteFile(m_tree + "/Games/Château d'Eau; 東京.txt", "");
    ASSERT_EQ(Run({"scan", m_tree, "Hudba, filmy"}), 0) << m_err;

    ASSERT_EQ(Run({"show", "Hudba, filmy", "Games\\", "--csv"}), 0) << m_err;
    EXPECT_EQ(m_out.substr(0, m_out.find("\r\n") + 2),
              "Soubor,Velikost,Přesná velikost,Datum,Čas,Velikost v bajtech\r\n");
    EXPECT_EQ(std::count(m_out.begin(), m_out.end(), '\n'), 6);
    EXPECT_EQ(std::count(m_out.begin(), m_out.end(), '\r'), 6);
    test::WriteFile(m_dir / "show.csv", m_out);
    EXPECT_EQ(ReadBackCsv(m_dir / "show.csv", "0,1,2,5"),
              (std::vector<std::string>{
                  R"([6, "Soubor", "Velikost", "Přesná velikost", "Velikost v bajtech"])",
                  R"([6, "alpha.txt", "0,00 MB", "2 B", "2"])",
                  R"([6, "Château d'Eau; 東京.txt", "0,00 MB", "0 B", "0"])",
                  R"([6, "Kino, \"Группа крови\".mp3", "0,00 MB", "3000 B", "3000"])",
                  R"([6, "setup.exe", "1,00 MB", "1048576 B", "1048576"])",
                  R"([6, "Zebra.txt", "0,00 MB", "1 B", "1"])"}));

    ASSERT_EQ(Run({"search", "Группа", "--csv"}), 0) << m_err;
    test::WriteFile(m_dir / "search.csv", m_out);
    EXPECT_EQ(
        ReadBackCsv(m_dir / "search.csv", "0,1,3,6"),
        (std::vector<std::string>{
            R"([7, "Seznam", "Soubor / složka", "Přesná velikost", "Velikost v bajtech"])",
            R"([7, "Hudba, filmy", "Games\\Kino, \"Группа крови\".mp3", "3000 B", "3000"])"}));
    ASSERT_EQ(Run({"search", "Группа"}), 0);
    EXPECT_EQ(Fields(m_out, 2).back(), "Nalezených adresářů: 0");
}

} // namespace
} // namespace vyp
