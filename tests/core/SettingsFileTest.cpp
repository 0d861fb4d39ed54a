#include "TestSupport.h"

#include "lists/ListFile.h"
#include "lists/SettingsFile.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

namespace vyp {
namespace {

TEST(SettingsFile, MissingFileSectionsAndKeysGiveDefaults) {
    test::TempDir dir;
    const SettingsFile missing(dir / "settings.ini");
    EXPECT_EQ(missing.ReadInteger("fLV", "Top", 298), 298);
    test::WriteFile(dir / "settings.ini", "[fLV]\r\nTop=12\r\n");
    const SettingsFile present(dir / "settings.ini");
    EXPECT_EQ(present.ReadInteger("fLV", "Left", 320), 320);
    EXPECT_EQ(present.ReadInteger("fFind", "Top", 419), 419);
    EXPECT_EQ(present.ReadInteger("FLV", "TOP", 0), 12); // names ignore letter case
}

TEST(SettingsFile, IntegersAreReadAsTheProfileFormatDoes) {
    test::TempDir dir;
    test::WriteFile(dir / "s.ini", "[Seznamy]\nhex=0x7\nDollar=$7\nbad=abc\nneg=-4\nplus=+5\n"
                                   "empty=\nshort=0x\n  spaced  =  300  \nquoted=\"9\"\n"
                                   "negHex=-$10\nbig=99999999999\nall=$FFFFFFFF\n"
                                   "zeros=$000000001\nzeros0x=0x0000000007\nhexBig=$100000000\n");
    const SettingsFile settings(dir / "s.ini");
    EXPECT_EQ(settings.ReadInteger("Seznamy", "hex", 8), 7);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "dollar", 8), 7);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "bad", 8), 8);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "neg", 8), -4);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "plus", 8), 5);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "empty", 8), 8);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "short", 8), 8); // "0x" alone is no number
    EXPECT_EQ(settings.ReadInteger("Seznamy", "spaced", 8), 300);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "quoted", 8), 9);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "negHex", 8), -16);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "big", 8), 8);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "all", 8), -1);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "zeros", 8), 1); // leading zeros add nothing
    EXPECT_EQ(settings.ReadInteger("Seznamy", "zeros0x", 8), 7);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "hexBig", 8), 8); // beyond 32 bits
}

TEST(SettingsFile, HeightSpelledOtherwiseIsNotHeigth) {
    test::TempDir dir;
    test::WriteFile(dir / "s.ini", "[fLV]\r\nHeight=700\r\n");
    EXPECT_EQ(SettingsFile(dir / "s.ini").ReadInteger("fLV", "Heigth", 541), 541);
}

TEST(SettingsFile, WritesKeepEveryOtherLineAsItWas) {
    test::TempDir dir;
    const std::string path = dir / "settings.ini";
    test::WriteFile(path, "; my notes\r\n[fLV]\r\nTop=1\r\nLeft = 2\r\n\r\n[Other]\r\nx=y\r\n");
    SettingsFile settings(path);
    settings.WriteInteger("fLV", "left", -300);       // replaced in place
    settings.WriteInteger("fLV", "Width", 944);       // added to its section
    settings.WriteInteger("Seznamy", "Disk1.sez", 3); // a new section at the end
    EXPECT_EQ(test::ReadFile(path), "; my notes\r\n[fLV]\r\nTop=1\r\nLeft =-300\r\nWidth=944\r\n"
                                    "\r\n[Other]\r\nx=y\r\n[Seznamy]\r\nDisk1.sez=3\r\n");
    // A fresh object reads what the last one wrote: nothing is cached.
    EXPECT_EQ(SettingsFile(path).ReadInteger("fLV", "Left", 0), -300);
    settings.DeleteKey("Seznamy", "DISK1.SEZ");
    settings.DeleteKey("Seznamy", "missing.sez");
    EXPECT_EQ(SettingsFile(path).ReadInteger("Seznamy", "Disk1.sez", 8), 8);
}

TEST(SettingsFile, WritersOpenAtOnceKeepEachOthersEntries) {
    test::TempDir dir;
    const std::string path = dir / "settings.ini";
    test::WriteFile(path, "; ruční poznámka\r\n[Seznamy]\r\nStaré.sez=2\r\n");
    SettingsFile window(path), commandLine(path); // both read the same old file
    commandLine.WriteInteger("Seznamy", "Nový disk.sez", 3);
    window.Write({{"fLV", "Top", 12}, {"fLV", "Left", -1680}, {"Seznamy", "Staré.sez", {}}});
    EXPECT_EQ(test::ReadFile(path), "; ruční poznámka\r\n[Seznamy]\r\nNový disk.sez=3\r\n"
                                    "[fLV]\r\nTop=12\r\nLeft=-1680\r\n");
    // Each reads the file as it wrote it.
    EXPECT_EQ(window.ReadInteger("Seznamy", "Nový disk.sez", 8), 3);
    EXPECT_EQ(commandLine.ReadInteger("fLV", "Top", 0), 0);

    // A write that changes nothing does not make a missing file.
    const std::string missing = dir / "jinde.ini";
    SettingsFile(missing).Write({{"Seznamy", "Nic.sez", {}}});
    EXPECT_FALSE(std::filesystem::exists(test::FsPath(missing)));
}

TEST(SettingsFile, FirstWriteCreatesTheFile) {
    test::TempDir dir;
    SettingsFile settings(dir / "settings.ini");
    settings.WriteInteger("fLV", "Top", -20);
    EXPECT_EQ(test::ReadFile(dir / "settings.ini"), "[fLV]\r\nTop=-20\r\n");
    SettingsFile(dir / "none.ini").DeleteKey("a", "b"); // no file: no error, nothing created
    EXPECT_FALSE(std::filesystem::exists(test::FsPath(dir / "none.ini")));
}

// A settings file or a list kept elsewhere through a symbolic link stays a link; the file it
// names gets the new contents, and no temporary is left on either side.
TEST(SettingsFile, WritesGoThroughSymbolicLinks) {
#ifdef _WIN32
    VYP_LINUX_ONLY("symbolic links need a privilege on Windows");
#else
    test::TempDir dir;
    std::filesystem::create_directories(dir / "elsewhere");
    test::WriteFile(dir / "elsewhere/nastavení.ini", "[fLV]\r\nTop=1\r\n");
    std::filesystem::create_symlink(dir / "elsewhere/nastavení.ini", dir / "settings.ini");
    SettingsFile(dir / "settings.ini").WriteInteger("fLV", "Top", 7);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "settings.ini"));
    EXPECT_EQ(test::ReadFile(dir / "elsewhere/nastavení.ini"), "[fLV]\r\nTop=7\r\n");

    std::filesystem::create_symlink(dir / "elsewhere/Hudba – Ørsted.sez", dir / "list.sez");
    WriteListFile(dir / "list.sez", {"E:\\\t0"}); // a link to nothing yet: the file appears
    EXPECT_EQ(test::ReadFile(dir / "list.sez"), "E:\\\t0\r\n");
    WriteListFile(dir / "list.sez", {"F:\\\t0"});
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "list.sez"));
    EXPECT_EQ(test::ReadFile(dir / "elsewhere/Hudba – Ørsted.sez"), "F:\\\t0\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "elsewhere"), {}), 2);
#endif
}

TEST(SettingsFile, ReadOnlyFileRefusesWritesAndStaysUntouched) {
    test::TempDir dir;
    const std::string path = dir / "settings.ini";
    test::WriteFile(path, "[fLV]\r\nTop=1\r\n");
    namespace fs = std::filesystem;
    fs::permissions(test::FsPath(path), fs::perms::owner_read | fs::perms::group_read |
                                            fs::perms::others_read); // read-only on Windows
    SettingsFile settings(path);
    try {
        settings.WriteInteger("fLV", "Top", 5);
        FAIL() << "no error";
    } catch (const VypisnikError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
    settings.DeleteKey("fLV", "Top"); // refused, silently
    EXPECT_EQ(test::ReadFile(path), "[fLV]\r\nTop=1\r\n");
    fs::permissions(test::FsPath(path), fs::perms::owner_write, fs::perm_options::add);
}

TEST(SettingsFile, Windows1250FileKeepsItsEncoding) {
    test::TempDir dir;
    const std::string path = dir / "s.ini";
    test::WriteFile(path, "[Seznamy]\r\nObr\xE1zky.sez=4\r\n"); // "Obrázky.sez" in Windows-1250
    SettingsFile settings(path);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "Obrázky.sez", 8), 4);
    settings.WriteInteger("Seznamy", "Hudba\xC4\x8D.sez", 5); // "Hudbač.sez"
    EXPECT_EQ(test::ReadFile(path), "[Seznamy]\r\nObr\xE1zky.sez=4\r\nHudba\xE8.sez=5\r\n");
}

} // namespace
} // namespace vyp

namespace vyp {
namespace {

TEST(SettingsFile, FirstSectionAndFirstKeyOfANameCount) {
    test::TempDir dir;
    test::WriteFile(dir / "s.ini", "[A]\r\nk=1\r\nk=2\r\n[B]\r\nk=3\r\n[a]\r\nk=4\r\nz=5\r\n");
    const SettingsFile settings(dir / "s.ini");
    for (int pass = 0; pass < 2; ++pass) { // the first read and the indexed ones agree
        EXPECT_EQ(settings.ReadInteger("a", "K", 0), 1);
        EXPECT_EQ(settings.ReadInteger("b", "k", 0), 3);
        EXPECT_EQ(settings.ReadInteger("A", "z", 0), 0);
    }
}

} // namespace
} // namespace vyp

namespace vyp {
namespace {

// Writes key=value and expects it refused with a message naming the key, the file unchanged.
void ExpectRefused(SettingsFile& settings, std::string_view section, std::string_view key,
                   std::string_view why) {
    const std::string before = test::ReadFile(settings.Path());
    try {
        settings.WriteInteger(section, key, 3);
        ADD_FAILURE() << "accepted: " << key;
    } catch (const VypisnikError& error) {
        const std::string text = error.what();
        EXPECT_TRUE(text.starts_with("Název \"")) << text;
        EXPECT_NE(text.find(why), std::string::npos) << text;
        EXPECT_NE(text.find(settings.Path()), std::string::npos) << text;
    }
    EXPECT_EQ(test::ReadFile(settings.Path()), before) << key;
}

TEST(SettingsFile, AWriteNeverChangesTheEncodingTheFileIsReadIn) {
    test::TempDir dir;
    const std::string utf8Path = dir / "utf8.ini";
    test::WriteFile(utf8Path, "[Seznamy]\r\nObrázky z Brna.sez=4\r\n");
    SettingsFile utf8(utf8Path);
    // A file name on disk that is not UTF-8 would turn the whole file into Windows-1250.
    ExpectRefused(utf8, "Seznamy", "Fotky \xE8\x65rven.sez", "UTF-8");
    EXPECT_EQ(SettingsFile(utf8Path).ReadInteger("Seznamy", "Obrázky z Brna.sez", 8), 4);
    utf8.WriteInteger("Seznamy", "Фото 東京.sez", 6); // any letter fits UTF-8
    EXPECT_EQ(SettingsFile(utf8Path).ReadInteger("Seznamy", "Фото 東京.sez", 8), 6);

    const std::string cp1250Path = dir / "cp1250.ini";
    const std::string cp1250 = "[Seznamy]\r\nObr\xE1zky.sez=4\r\nP\xF8\xEDkop.sez=2\r\n";
    test::WriteFile(cp1250Path, cp1250);
    SettingsFile old(cp1250Path);
    // Cyrillic has no Windows-1250 form: converting the file to UTF-8 would change other keys.
    ExpectRefused(old, "Seznamy", "Фото.sez", "Windows-1250");
    ExpectRefused(old, "Seznamy", "Fotky \xE8\x65rven.sez", "UTF-8");
    old.WriteInteger("Seznamy", "Straße.sez", 5);
    EXPECT_EQ(test::ReadFile(cp1250Path), cp1250 + "Stra\xDF\x65.sez=5\r\n");
    const SettingsFile reread(cp1250Path);
    EXPECT_EQ(reread.ReadInteger("Seznamy", "Příkop.sez", 8), 2);
    EXPECT_EQ(reread.ReadInteger("Seznamy", "Straße.sez", 8), 5);
}

TEST(SettingsFile, RemovingTheLastWindows1250BytesKeepsWhatTheRestMeans) {
    test::TempDir dir;
    const std::string path = dir / "settings.ini";
    // "ČŠ" in Windows-1250 is C8 8A, which UTF-8 would read as another letter.
    test::WriteFile(path, "[Seznamy]\r\nP\xF8\xEDkop.sez=2\r\n\xC8\x8A.sez=5\r\n");
    SettingsFile(path).DeleteKey("Seznamy", "Příkop.sez");
    EXPECT_EQ(test::ReadFile(path), "[Seznamy]\r\nČŠ.sez=5\r\n");
    EXPECT_EQ(SettingsFile(path).ReadInteger("Seznamy", "ČŠ.sez", 8), 5);

    test::WriteFile(path, "[Seznamy]\r\nHry.sez=\xE8\r\n\xC8\x8A.sez=5\r\n");
    SettingsFile settings(path);
    settings.WriteInteger("Seznamy", "Hry.sez", 3);  // the value held the only such byte
    settings.WriteInteger("Seznamy", "Фото.sez", 4); // the file is UTF-8 from now on
    EXPECT_EQ(test::ReadFile(path), "[Seznamy]\r\nHry.sez=3\r\nČŠ.sez=5\r\nФото.sez=4\r\n");
}

TEST(SettingsFile, NamesThatWouldNotReadBackAreRefused) {
    test::TempDir dir;
    const std::string path = dir / "settings.ini";
    test::WriteFile(path, "[fLV]\r\nTop=1\r\n[Seznamy]\r\nHry.sez=1\r\n");
    SettingsFile settings(path);
    ExpectRefused(settings, "Seznamy", "Disk\r\n[fLV]\r\nTop=-5000\r\nx.sez", "konec řádku");
    ExpectRefused(settings, "Seznamy", "Nové\n.sez", "konec řádku");
    ExpectRefused(settings, "Se\rznamy", "Hry.sez", "konec řádku");
    ExpectRefused(settings, "Seznamy", "a=b.sez", "\"=\"");
    ExpectRefused(settings, "Seznamy", "[fLV].sez", "\"[\"");
    ExpectRefused(settings, "Seznamy", ";poznámka.sez", "\";\"");
    ExpectRefused(settings, "Seznamy", " Záloha.sez", "mezerou");
    ExpectRefused(settings, "Seznamy", "Záloha.sez ", "mezerou");
    ExpectRefused(settings, "Seznamy", "", "prázdný");
    ExpectRefused(settings, "Sez]namy", "Hry.sez", "\"]\"");
    // What a name may hold elsewhere still goes in and reads back.
    settings.WriteInteger("Seznamy", "Hry] 2.0; zálohy.sez", 2);
    EXPECT_EQ(SettingsFile(path).ReadInteger("Seznamy", "Hry] 2.0; zálohy.sez", 8), 2);
    EXPECT_EQ(SettingsFile(path).ReadInteger("fLV", "Top", 0), 1);
    // Reading such names finds nothing, whatever lines the file holds.
    test::WriteFile(path, "[Seznamy]\r\na=7\r\n;x.sez=7\r\n[y.sez]\r\n");
    const SettingsFile reread(path);
    EXPECT_EQ(reread.ReadInteger("Seznamy", "a=b.sez", 8), 8);
    EXPECT_EQ(reread.ReadInteger("Seznamy", ";x.sez", 8), 8);
    EXPECT_EQ(reread.ReadInteger("Seznamy", "[y.sez]", 8), 8);
}

TEST(SettingsFile, ValueIsFoundOnItsOwnLineAfterLinesWithoutEquals) {
    test::TempDir dir;
    const std::string path = dir / "settings.ini";
    std::string text = "[Seznamy]\r\n";
    for (int i = 0; i < 1000; ++i)
        text += "řádek bez rovnítka " + std::to_string(i) + "\r\n";
    text += "  Hry.sez  =  5  \r\nnic\r\n";
    test::WriteFile(path, text);
    SettingsFile settings(path);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "Hry.sez", 8), 5);
    EXPECT_EQ(settings.ReadInteger("Seznamy", "Hry.sez", 8), 5); // the indexed read agrees
    settings.WriteInteger("Seznamy", "hry.sez", 6);
    EXPECT_EQ(test::ReadFile(path), text.substr(0, text.size() - 12) + "6\r\nnic\r\n");
}

} // namespace
} // namespace vyp
