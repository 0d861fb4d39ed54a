// Helpers shared by the core tests: a fresh temporary folder per test (kept when the test
// fails, so it can be looked at), a fake folder tree behind the walker seam, file helpers.
#pragma once

#include "lists/ListRegistry.h"
#include "lists/StoredDateTime.h"
#include "platform/DirectoryWalker.h"
#include "platform/MappedFilePart.h"
#include "platform/Native.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// Marks a case that cannot occur on Windows (symbolic links, permission bits, resource limits,
// names holding "\"): it is reported there as skipped, with the reason.
#ifdef _WIN32
#define VYP_LINUX_ONLY(reason) GTEST_SKIP() << "Linux only: " << (reason)
#else
#define VYP_LINUX_ONLY(reason) static_cast<void>(reason)
#endif

namespace vyp::test {

// The system's words for a missing file, and for a missing folder on the way to one (on Windows
// in the language of the system: English on Windows itself, Wine's own words under Wine).
std::string NoSuchFileText();
// A text as the error report ends it: "." appended when its last character comes after "."
// (Linux's reasons end with a letter, Windows' with a period already).
std::string WithFinalPeriod(const std::string& text);
std::string NoSuchPathText();

// A UTF-8 path as std::filesystem takes it: its narrow strings are not UTF-8 on Windows.
std::filesystem::path FsPath(const std::string& utf8);
std::string Utf8(const std::filesystem::path& path);

// A path written with "/" in the native form: on Windows "\", and a leading "/" is the drive
// E:\ ("/media/cdrom/" becomes "E:\media\cdrom\").
std::string Native(const std::string& path);

// While it lives, list files are read through the readers' buffers rather than from their
// mapping: the way every list is read on Windows, and where the system cannot map a file.
class NothingMapped {
public:
    NothingMapped() { MappedFilePart::AllowMapping(false); }
    ~NothingMapped() { MappedFilePart::AllowMapping(true); }
    NothingMapped(const NothingMapped&) = delete;
    NothingMapped& operator=(const NothingMapped&) = delete;
};

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder with a trailing separator.
    std::string Path() const { return Utf8(m_path) + kNativeSeparator; }
    // A path in the folder; "/" in name stays as it is (Windows takes it as well).
    std::string operator/(const std::string& name) const { return Path() + name; }

private:
    std::filesystem::path m_path;
};

#ifndef _WIN32
// While it lives, no file of the process grows beyond bytes, and a write past that fails (EFBIG)
// instead of ending the process: how a test makes the disk refuse a write part-way, even for
// root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    uint64_t m_saved; // the soft limit before
};
#endif

// Adds the list fileName, whose file is path, to registry as the last of its lists, in group.
void RegisterList(ListRegistry& registry, const std::string& fileName, const std::string& path,
                  int group = 8);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// Writes bytes as a file last written an hour ago: a temporary that a killed writer left behind
// before this program started.
void WriteOldFile(const std::string& path, const std::string& bytes);

// Makes a file read-only for everyone: permission bits on Linux (root still writes), the
// read-only attribute on Windows (a replace of the file is refused).
void MakeReadOnly(const std::string& path);
// A file's last-write time in local time, as the windows show a list's date and time.
LocalDateTime LastWritten(const std::string& path);

// The bytes of a list file of lines, each ended by CR LF.
std::string ListFileBytes(const std::vector<std::string>& lines);
// A new list file holding bytes, in a folder that lasts as long as the test program: the readers
// read lists from disk.
std::string ListFileOnDisk(const std::string& bytes);

// Lists written into a temporary folder and registered in the order added: the readers' and
// searches' tests start here.
class RegisteredLists : public ::testing::Test {
protected:
    void AddList(const std::string& fileName, const std::string& bytes, int group = 8) {
        WriteFile(m_dir / fileName, bytes);
        RegisterList(m_registry, fileName, m_dir / fileName, group);
    }

    TempDir m_dir;
    ListRegistry m_registry;
};

// A folder tree in memory: each folder path maps to its entries, in the order given.
class FakeDirectoryWalker final : public DirectoryWalker {
public:
    void AddFolder(const std::string& path, std::vector<DirectoryEntry> entries) {
        m_folders[path] = std::move(entries);
    }
    // The entries of a folder added before, to change in place: a file grown, one more file.
    std::vector<DirectoryEntry>& Folder(const std::string& path) { return m_folders.at(path); }
    void MakeUnreadable(const std::string& path) { m_unreadable.insert(path); }
    // Lets the scan list folders on several threads (the tree must not change meanwhile).
    void AllowConcurrentListing() { m_concurrent = true; }
    const std::vector<std::string>& Listed() const { return m_listed; }

    bool ListFolder(const std::string& folderPath, std::vector<DirectoryEntry>& entries) override;
    bool ListsConcurrently() const override { return m_concurrent; }

private:
    bool m_concurrent = false;
    std::mutex m_listedMutex;
    std::map<std::string, std::vector<DirectoryEntry>> m_folders;
    std::set<std::string> m_unreadable;
    std::vector<std::string> m_listed;
};

LocalDateTime At(int year, int month, int day, int hour, int minute, int second);
DirectoryEntry FileEntry(const std::string& name, int64_t size, LocalDateTime modified = {});
DirectoryEntry FolderEntry(const std::string& name, LocalDateTime modified = {});

// The example tree of the list format: root (ending with the native separator) with autorun.inf,
// Games (setup.exe, Old with old.zip) and the empty Music; files listed after folders when
// filesLast is set.
void AddExampleTree(FakeDirectoryWalker& walker, const std::string& root, bool filesLast);
// Its seven lines.
std::vector<std::string> ExampleLines(const std::string& root);

// Names of folders and files as real disks have them: many languages, spaces, several dots.
extern const char* const kNamesOfManyLanguages[16];
// A generated fake tree below path: uneven fan-out, files before and after folders, unreadable
// folders, decided by seed (which moves on). folders gets the paths the scan lists, in
// depth-first order.
void AddGeneratedTree(FakeDirectoryWalker& walker, const std::string& path, int depth, int& seed,
                      std::vector<std::string>* folders);
// The whole generated tree of seed below path; the paths the scan lists, in depth-first order.
std::vector<std::string> AddGeneratedTree(FakeDirectoryWalker& walker, const std::string& path,
                                          int seed = 1);

} // namespace vyp::test
