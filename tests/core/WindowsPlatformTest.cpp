// Cases that only Windows has: drive and network roots, junctions, the replace of an open list,
// files another program holds, local time by the date's own rules. Built only for Windows.
#ifdef _WIN32

#include "TestSupport.h"

#include "lists/ListFile.h"
#include "lists/ListRegistry.h"
#include "platform/Files.h"
#include "platform/Native.h"
#include "platform/NoDriveErrorBoxes.h"
#include "platform/SystemError.h"
#include "platform/WindowsShell.h"
#include "scan/FolderScan.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include "platform/windows/WindowsApi.h"

#include <winioctl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace vyp {
namespace {

using test::At;
using test::FileEntry;
using test::FolderEntry;

std::wstring Wide(const std::string& utf8) {
    return test::FsPath(utf8).wstring();
}

// Gives path the last-write time of a local date and time, converted as Windows does.
void SetLocalWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour,
                       WORD minute, WORD second) {
    SYSTEMTIME local{};
    local.wYear = year;
    local.wMonth = month;
    local.wDay = day;
    local.wHour = hour;
    local.wMinute = minute;
    local.wSecond = second;
    SYSTEMTIME utc{};
    ASSERT_TRUE(::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
    FILETIME time{};
    ASSERT_TRUE(::SystemTimeToFileTime(&utc, &time));
    const HANDLE file = ::CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    ASSERT_TRUE(::SetFileTime(file, nullptr, nullptr, &time));
    ::CloseHandle(file);
}

// A file of size bytes that takes no room: marked sparse, then its end set.
void MakeSparseFile(const std::string& path, int64_t size) {
    const HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD returned = 0;
    ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = size;
    EXPECT_TRUE(::SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
    EXPECT_TRUE(::SetEndOfFile(file));
    ::CloseHandle(file);
}

// Makes the empty folder link a junction to target; false where the file system cannot.
bool MakeJunction(const std::string& link, const std::string& target) {
    std::filesystem::create_directory(test::FsPath(link));
    const HANDLE file =
        ::CreateFileW(Wide(link).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::wstring substitute = L"\\??\\" + Wide(target);
    const std::wstring print = Wide(target);
    // The mount point layout of a reparse buffer: tag, data length, reserved, then the two
    // names' offsets and lengths and the names themselves, each ending with a NUL.
    const auto substituteBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    const auto printBytes = static_cast<WORD>(print.size() * sizeof(wchar_t));
    const auto dataBytes = static_cast<WORD>(8 + substituteBytes + 2 + printBytes + 2);
    std::vector<unsigned char> buffer(8 + dataBytes, 0);
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(buffer.data(), &tag, 4);
    std::memcpy(buffer.data() + 4, &dataBytes, 2);
    const WORD names[4] = {0, substituteBytes, static_cast<WORD>(substituteBytes + 2), printBytes};
    std::memcpy(buffer.data() + 8, names, sizeof names);
    std::memcpy(buffer.data() + 16, substitute.c_str(), substituteBytes);
    std::memcpy(buffer.data() + 16 + substituteBytes + 2, print.c_str(), printBytes);
    DWORD returned = 0;
    const bool made =
        ::DeviceIoControl(file, FSCTL_SET_REPARSE_POINT, buffer.data(),
                          static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    ::CloseHandle(file);
    if (!made)
        std::filesystem::remove(test::FsPath(link));
    return made;
}

// A tree with names in several scripts, a sparse 3 GiB file and (where the file system can make
// one) a junction back to the root, which must be listed as a file and never entered.
TEST(WindowsDirectoryWalker, ScansARealTreeIntoTheExpectedList) {
    test::TempDir dir;
    const std::string root = dir / "Záloha Fotos été";
    const std::string sub = root + "\\Фото 東京";
    std::filesystem::create_directories(test::FsPath(sub + "\\Übergröße"));
    test::WriteFile(root + "\\Příliš žluťoučký kůň.txt", "hello");
    test::WriteFile(root + "\\a.b.c.TAR.gz", std::string(1000, 'x'));
    test::WriteFile(sub + "\\Übergröße\\z.bin", "12");
    MakeSparseFile(sub + "\\disk image.iso", 3LL << 30);
    const bool junction = MakeJunction(root + "\\Zpět", root);

    // Winter and summer: each shown in the offset of its own date, seconds rounded down to even.
    SetLocalWriteTime(root + "\\Příliš žluťoučký kůň.txt", 2004, 1, 15, 9, 29, 59);
    SetLocalWriteTime(root + "\\a.b.c.TAR.gz", 2019, 7, 3, 14, 3, 21);
    SetLocalWriteTime(sub + "\\disk image.iso", 2023, 8, 31, 23, 59, 58);
    SetLocalWriteTime(sub + "\\Übergröße\\z.bin", 1999, 12, 31, 0, 0, 1);
    SetLocalWriteTime(sub + "\\Übergröße", 2010, 3, 28, 12, 0, 0);
    SetLocalWriteTime(sub, 2010, 10, 31, 12, 30, 3);
    if (junction)
        SetLocalWriteTime(root + "\\Zpět", 2021, 6, 1, 8, 0, 0);

    NativeDirectoryWalker walker;
    ScanLines lines;
    const std::string list = dir / "Záloha.sez";
    CreateList(walker, root + "\\", list, ScanOptions{false, ":"}, lines);
    const int64_t huge = 3LL << 30;
    std::vector<std::string> expected = {
        root + "\\\t" + std::to_string(5 + 1000 + huge + 2),
        "a.b.c.TAR.gz\t1000\t2019.7.3\t14:3.20",
        "Příliš žluťoučký kůň.txt\t5\t2004.1.15\t9:29.58",
        "Фото 東京\\\t" + std::to_string(huge + 2) + "\t2010.10.31\t12:30.2",
        "disk image.iso\t" + std::to_string(huge) + "\t2023.8.31\t23:59.58",
        "Фото 東京\\Übergröße\\\t2\t2010.3.28\t12:0.0",
        "z.bin\t2\t1999.12.31\t0:0.0",
    };
    if (junction) // a file line of its own size, after the file lines before it by name
        expected.insert(expected.begin() + 3, "Zpět\t0\t2021.6.1\t8:0.0");
    else
        std::cerr << "this file system makes no junctions: the junction case is left out\n";
    EXPECT_EQ(test::ReadFile(list), test::ListFileBytes(expected));
}

TEST(WindowsDirectoryWalker, DriveRootsAndMissingFolders) {
    NativeDirectoryWalker walker;
    std::vector<DirectoryEntry> entries;
    ASSERT_TRUE(walker.ListFolder("C:\\", entries));
    const auto windows = std::find_if(entries.begin(), entries.end(), [](const DirectoryEntry& e) {
        return e.name == "windows" || e.name == "Windows";
    });
    ASSERT_NE(windows, entries.end());
    EXPECT_TRUE(windows->isFolder);
    for (const DirectoryEntry& entry : entries)
        EXPECT_TRUE(entry.name != "." && entry.name != "..");

    test::TempDir dir;
    EXPECT_FALSE(walker.ListFolder(dir / "není tu\\", entries));
    EXPECT_TRUE(entries.empty());
    test::WriteFile(dir / "soubor.txt", "x");
    EXPECT_FALSE(walker.ListFolder(dir / "soubor.txt\\", entries)); // a file is no folder
}

// A folder is listed alike whether its path ends with "\\", with "/" or with neither.
TEST(WindowsFiles, FoldersWithOrWithoutTheirSeparator) {
    test::TempDir dir;
    test::WriteFile(dir / "Účty 2024.sez", "E:\\\t0\r\n");
    test::WriteFile(dir / "写真 (kopie).tmp-a1B2c3", "");
    std::filesystem::create_directories(test::FsPath(dir / "Été.2019"));
    const std::vector<std::string> expected = {"Été.2019", "Účty 2024.sez",
                                               "写真 (kopie).tmp-a1B2c3"};
    std::string bare = dir.Path();
    bare.pop_back();
    NativeDirectoryWalker walker;
    for (const std::string& folder : {bare, dir.Path(), bare + "/"}) {
        std::vector<std::string> names = NamesInFolder(folder);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, expected) << folder;
        std::vector<DirectoryEntry> entries;
        ASSERT_TRUE(walker.ListFolder(folder, entries)) << folder;
        names.clear();
        for (const DirectoryEntry& entry : entries)
            names.push_back(entry.name);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, expected) << folder;
    }
}

// The root text is the folder as chosen: a drive "E:\" or a share "\\server\share\"; the paths
// below it never repeat it.
TEST(WindowsRoots, DriveAndNetworkRootsGiveRelativeFolderLines) {
    for (const std::string& root :
         {std::string("E:\\"), std::string("\\\\nas\\Filmy a seriály\\")}) {
        test::TempDir dir;
        test::FakeDirectoryWalker walker;
        test::AddExampleTree(walker, root, false);
        ScanLines lines;
        CreateList(walker, root, dir / "E.sez", ScanOptions{false, ":"}, lines);
        EXPECT_EQ(test::ReadFile(dir / "E.sez"), test::ListFileBytes(test::ExampleLines(root)))
            << root;
    }
    test::TempDir dir;
    test::FakeDirectoryWalker walker;
    walker.AddFolder("\\\\nas\\share\\", {FolderEntry("nas"), FileEntry("share", 3)});
    walker.AddFolder("\\\\nas\\share\\nas\\", {FolderEntry("share")});
    walker.AddFolder("\\\\nas\\share\\nas\\share\\", {});
    ScanLines lines;
    CreateList(walker, "\\\\nas\\share\\", dir / "n.sez", ScanOptions{false, ":"}, lines);
    EXPECT_EQ(
        test::ReadFile(dir / "n.sez"),
        test::ListFileBytes({"\\\\nas\\share\\\t3", "share\t3\t0000.0.0\t0:0.0",
                             "nas\\\t0\t0000.0.0\t0:0.0", "nas\\share\\\t0\t0000.0.0\t0:0.0"}));
}

TEST(WindowsFiles, ReplacingAnExistingListKeepsNothingOfTheOld) {
    test::TempDir dir;
    const std::string list = dir / "Hudba – Dvořák.sez";
    WriteListFile(list, {"E:\\\t9", "velmi dlouhý název souboru.flac\t9\t2004.1.2\t3:4.6"});
    WriteListFile(list, {"F:\\\t0"}); // shorter: nothing of the old may stay behind
    EXPECT_EQ(test::ReadFile(list), "F:\\\t0\r\n");
    WriteListFile(list, {"G:\\\t1", "a\t1\t2004.1.2\t3:4.6"});
    EXPECT_EQ(test::ReadFile(list), "G:\\\t1\r\na\t1\t2004.1.2\t3:4.6\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(test::FsPath(dir.Path())), {}), 1);

    // A read-only list is refused before anything is written.
    ::SetFileAttributesW(Wide(list).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(WriteListFile(list, {"H:\\\t0"}), VypisnikError);
    EXPECT_EQ(test::ReadFile(list), "G:\\\t1\r\na\t1\t2004.1.2\t3:4.6\r\n");
    ::SetFileAttributesW(Wide(list).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Another program holding a list without sharing: the write is refused with the system's reason
// and the list stays whole; reading it says the same. Once released, both work.
TEST(WindowsFiles, AListOpenedElsewhereStaysWholeAndTheReasonIsShown) {
    test::TempDir dir;
    const std::string list = dir / "Filmy 日本.sez";
    test::WriteFile(list, "E:\\\t0\r\n");
    const HANDLE other = ::CreateFileW(Wide(list).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const std::string reason = SystemErrorText(ERROR_SHARING_VIOLATION);
    try {
        WriteListFile(list, {"F:\\\t0"});
        ADD_FAILURE() << "the write reported success";
    } catch (const VypisnikError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + list + "\". " + reason);
    }
    try {
        ReadWholeFile(list);
        ADD_FAILURE() << "the read reported success";
    } catch (const VypisnikError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + list + "\". " + reason);
    }
    ::CloseHandle(other);
    EXPECT_EQ(test::ReadFile(list), "E:\\\t0\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(test::FsPath(dir.Path())), {}), 1);
    WriteListFile(list, {"F:\\\t0"});
    EXPECT_EQ(ReadWholeFile(list), "F:\\\t0\r\n");
}

TEST(WindowsFiles, ReadsAreBinaryAndPositionalReadsLeaveThePlace) {
    test::TempDir dir;
    const std::string path = dir / "crlf.sez";
    const std::string bytes = std::string("a\r\nb\x1A\r\r\n\n") + std::string(70000, 'z') + "end";
    test::WriteFile(path, bytes);
    InputFile file;
    ASSERT_EQ(file.Open(path, true), 0);
    char head[4] = {};
    size_t done = 0;
    ASSERT_EQ(file.Read(head, 3, done), 0);
    EXPECT_EQ(std::string(head, done), "a\r\n");
    char tail[3] = {};
    ASSERT_EQ(file.ReadAt(static_cast<int64_t>(bytes.size()) - 3, tail, 3, done), 0);
    EXPECT_EQ(std::string(tail, done), "end");
    ASSERT_EQ(file.ReadAt(static_cast<int64_t>(bytes.size()) + 10, tail, 3, done), 0);
    EXPECT_EQ(done, 0u);
    ASSERT_EQ(file.Read(head, 4, done), 0); // goes on where the plain read stopped
    EXPECT_EQ(std::string(head, done), "b\x1A\r\r");
    FileStamp stamp;
    ASSERT_EQ(file.Stamp(stamp), 0);
    EXPECT_EQ(stamp.size, static_cast<int64_t>(bytes.size()));

    EXPECT_EQ(file.Open(dir.Path(), false), kErrorIsAFolder);
    EXPECT_EQ(KindOfPath(dir.Path()), PathKind::Folder);
    EXPECT_EQ(KindOfPath(path), PathKind::File);
    EXPECT_EQ(KindOfPath(dir / "chybí"), PathKind::Missing);
}

TEST(WindowsFiles, ExecutableFolderAndLongPaths) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(KindOfPath(folder + "core_tests.exe"), PathKind::File);

    // Deeper than the classic limit of 260 characters: still written, listed and read.
    test::TempDir dir;
    std::string deep = dir.Path();
    while (deep.size() < 300) {
        deep += "Velmi dlouhá složka\\";
        ASSERT_EQ(MakeFolder(deep), 0) << deep;
    }
    EXPECT_EQ(MakeFolder(deep), 0); // there already: no error
    const std::string list = deep + "Seznam.sez";
    WriteListFile(list, {"E:\\\t0"});
    EXPECT_EQ(ReadWholeFile(list), "E:\\\t0\r\n");
    NativeDirectoryWalker walker;
    std::vector<DirectoryEntry> entries;
    ASSERT_TRUE(walker.ListFolder(deep, entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "Seznam.sez");
}

TEST(WindowsLocalDateTime, OwnDateOffsetAndYearsOutsideThePackedRange) {
    // The same moment seen through the system's conversion of that date.
    const auto viaSystem = [](int64_t unixSeconds) {
        const auto steps = static_cast<uint64_t>(unixSeconds + 11644473600) * 10000000;
        const FILETIME time{static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
        SYSTEMTIME utc{};
        SYSTEMTIME local{};
        ::FileTimeToSystemTime(&time, &utc);
        ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
        return LocalDateTime{local.wYear, local.wMonth,  local.wDay,
                             local.wHour, local.wMinute, local.wSecond & ~1};
    };
    for (const int64_t moment : {int64_t{1074155399}, int64_t{1562162601}, int64_t{946598401}})
        EXPECT_EQ(ToLocalDateTime(moment), viaSystem(moment)) << moment;
    // 1601 and 2150: outside the packed dates, kept as they are.
    EXPECT_EQ(ToLocalDateTime(-11644473600 + 86400 * 180).year, 1601);
    const LocalDateTime late = ToLocalDateTime(5618016000); // 2148-01-10 UTC
    EXPECT_EQ(late.year, 2148);
    EXPECT_EQ(late.month, 1);
    EXPECT_EQ(late.second % 2, 0);
}

// The folder dialog looks at every drive; while it is open an empty drive must fail quietly
// instead of asking for a disc, and the flags the process had stay as they were.
TEST(WindowsNoDriveErrorBoxes, SetForTheirLifetimeAndRestoredWithTheOtherFlags) {
    const UINT before = ::GetErrorMode();
    ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
    {
        const NoDriveErrorBoxes noBoxes;
        EXPECT_EQ(::GetErrorMode(), SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS);
        {
            const NoDriveErrorBoxes nested; // a second dialog over the first
            EXPECT_EQ(::GetErrorMode(), SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS);
        }
        EXPECT_EQ(::GetErrorMode(), SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS);
    }
    EXPECT_EQ(::GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
    ::SetErrorMode(before);
}

// Each type's small icon as the shell draws it, whether a file of that type exists or not.
TEST(WindowsShell, SmallIconsOfFileTypesComeFromTheShell) {
    for (const std::string extension : {"txt", "TXT", "exe", "sez", "Neznámá-přípona"}) {
        RgbaPicture picture;
        ASSERT_TRUE(ShellSmallIconOfExtension(extension, picture)) << extension;
        // A small icon is 16 pixels at 100 %, more on a denser screen.
        EXPECT_EQ(picture.width, ::GetSystemMetrics(SM_CXSMICON)) << extension;
        EXPECT_EQ(picture.height, ::GetSystemMetrics(SM_CYSMICON)) << extension;
        ASSERT_EQ(picture.pixels.size(), static_cast<size_t>(picture.width * picture.height));
        const auto opaque = std::count_if(picture.pixels.begin(), picture.pixels.end(),
                                          [](uint32_t pixel) { return (pixel >> 24) == 0xFF; });
        const auto clear = std::count_if(picture.pixels.begin(), picture.pixels.end(),
                                         [](uint32_t pixel) { return (pixel >> 24) == 0; });
        EXPECT_GT(opaque, 0) << extension; // something is drawn
        EXPECT_GT(clear, 0) << extension;  // and the corners show what lies behind
    }
}

TEST(WindowsShell, KnownFoldersOfTheUserAndOfInstalledPrograms) {
    const std::string roaming = RoamingAppDataFolder();
    const char* appData = std::getenv("APPDATA");
    ASSERT_NE(appData, nullptr);
    EXPECT_EQ(roaming, test::Utf8(std::filesystem::path(test::FsPath(appData))));
    EXPECT_NE(roaming.back(), '\\');

    const std::vector<std::string> programs = InstalledProgramsFolders();
    ASSERT_FALSE(programs.empty());
    const char* programFiles = std::getenv("ProgramFiles");
    ASSERT_NE(programFiles, nullptr);
    EXPECT_EQ(programs[0], std::string(programFiles) + "\\");
    for (const std::string& folder : programs)
        EXPECT_EQ(folder.back(), '\\') << folder;
}

} // namespace
} // namespace vyp

#endif
