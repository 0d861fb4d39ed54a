#include "TestSupport.h"

#include "platform/SystemError.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace vyp::test {

#ifndef _WIN32
FileSizeLimit::FileSizeLimit(uint64_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    m_saved = limit.rlim_cur;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_saved;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}
#endif

TempDir::TempDir() {
    std::random_device random;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info != nullptr ? std::string(info->test_suite_name()) + "." + info->name()
                                       : std::string("vypisnik");
    for (char& c : name) {
        if (c == '/' || c == '\\')
            c = '_';
    }
    m_path = std::filesystem::temp_directory_path() /
             FsPath("vyp-" + name + "-" + std::to_string(random()));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info != nullptr && info->result()->Failed()) {
        std::cerr << "kept the test folder " << m_path << "\n";
        return;
    }
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path FsPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string NoSuchFileText() {
#ifdef _WIN32
    return SystemErrorText(2); // ERROR_FILE_NOT_FOUND
#else
    return "No such file or directory";
#endif
}

std::string WithFinalPeriod(const std::string& text) {
    return !text.empty() && static_cast<unsigned char>(text.back()) > '.' ? text + "." : text;
}

std::string NoSuchPathText() {
#ifdef _WIN32
    return SystemErrorText(3); // ERROR_PATH_NOT_FOUND
#else
    return "No such file or directory";
#endif
}

std::string Native(const std::string& path) {
    std::string native = path;
    for (char& c : native) {
        if (c == '/')
            c = kNativeSeparator;
    }
#ifdef _WIN32
    if (native.starts_with('\\'))
        native.insert(0, "E:");
#endif
    return native;
}

std::string ListFileBytes(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

std::string ListFileOnDisk(const std::string& bytes) {
    static TempDir dir;
    static int count = 0;
    const std::string path = dir / ("Seznam č. " + std::to_string(++count) + ".sez");
    WriteFile(path, bytes);
    return path;
}

void RegisterList(ListRegistry& registry, const std::string& fileName, const std::string& path,
                  int group) {
    rsznListInfo info;
    info.FileName = fileName;
    info.FullPath = path;
    info.Group = group;
    registry.ListPaths.push_back(path);
    registry.ListInfos.push_back(info);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(FsPath(path), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

void WriteOldFile(const std::string& path, const std::string& bytes) {
    WriteFile(path, bytes);
    std::filesystem::last_write_time(FsPath(path), std::filesystem::file_time_type::clock::now() -
                                                       std::chrono::hours(1));
}

bool FakeDirectoryWalker::ListFolder(const std::string& folderPath,
                                     std::vector<DirectoryEntry>& entries) {
    {
        const std::lock_guard lock(m_listedMutex);
        m_listed.push_back(folderPath);
    }
    entries.clear();
    const auto found = m_folders.find(folderPath);
    if (found == m_folders.end() || m_unreadable.count(folderPath) != 0)
        return false;
    entries = found->second;
    return true;
}

LocalDateTime At(int year, int month, int day, int hour, int minute, int second) {
    return {year, month, day, hour, minute, second};
}

DirectoryEntry FileEntry(const std::string& name, int64_t size, LocalDateTime modified) {
    return {name, false, size, modified};
}

DirectoryEntry FolderEntry(const std::string& name, LocalDateTime modified) {
    return {name, true, 0, modified};
}

void AddExampleTree(FakeDirectoryWalker& walker, const std::string& root, bool filesLast) {
    std::vector<DirectoryEntry> top = {FolderEntry("Games", At(2004, 1, 15, 9, 30, 0)),
                                       FolderEntry("Music", At(2004, 2, 29, 18, 45, 10))};
    const DirectoryEntry autorun = FileEntry("autorun.inf", 45, At(2003, 11, 2, 14, 3, 20));
    if (filesLast)
        top.push_back(autorun);
    else
        top.insert(top.begin(), autorun);
    walker.AddFolder(root, top);
    std::vector<DirectoryEntry> games = {FolderEntry("Old", At(2003, 5, 1, 0, 0, 0))};
    const DirectoryEntry setup = FileEntry("setup.exe", 1048576, At(2004, 1, 15, 9, 29, 58));
    if (filesLast)
        games.push_back(setup);
    else
        games.insert(games.begin(), setup);
    walker.AddFolder(root + Native("Games/"), games);
    walker.AddFolder(root + Native("Games/Old/"),
                     {FileEntry("old.zip", 2000, At(2003, 5, 1, 0, 0, 0))});
    walker.AddFolder(root + Native("Music/"), {});
}

std::vector<std::string> ExampleLines(const std::string& root) {
    return {root + "\t1050621",
            "autorun.inf\t45\t2003.11.2\t14:3.20",
            "Games\\\t1050576\t2004.1.15\t9:30.0",
            "setup.exe\t1048576\t2004.1.15\t9:29.58",
            "Games\\Old\\\t2000\t2003.5.1\t0:0.0",
            "old.zip\t2000\t2003.5.1\t0:0.0",
            "Music\\\t0\t2004.2.29\t18:45.10"};
}

const char* const kNamesOfManyLanguages[16] = {
    "Dovolená 2019",  "Übersicht.der.Daten", "Été à Paris",  "Фотографии",
    "写真 アルバム",  "ŽLUŤOUČKÝ kůň",       "Straße Nr. 5", "mixed.Case.Folder",
    "Ελληνικά",       "Čeština a ÿ",         "noël",         "音楽",
    " leading blank", "trailing.dots..",     "Москва 2020",  "Größe",
};

std::vector<std::string> AddGeneratedTree(FakeDirectoryWalker& walker, const std::string& path,
                                          int seed) {
    std::vector<std::string> folders;
    AddGeneratedTree(walker, path, 0, seed, &folders);
    return folders;
}

void AddGeneratedTree(FakeDirectoryWalker& walker, const std::string& path, int depth, int& seed,
                      std::vector<std::string>* folders) {
    if (folders != nullptr)
        folders->push_back(path);
    const bool unreadable = seed % 13 == 5;
    if (unreadable)
        walker.MakeUnreadable(path);
    std::vector<DirectoryEntry> entries;
    const int count = (seed * 7) % 9;
    for (int i = 0; i < count; ++i) {
        ++seed;
        const LocalDateTime t = At(1995 + seed % 30, 1 + seed % 12, 1 + seed % 28, seed % 24,
                                   seed % 60, (seed * 2) % 60);
        const std::string name =
            std::string(kNamesOfManyLanguages[seed % 16]) + "." + std::to_string(seed);
        if (depth < 5 && seed % 3 != 0) {
            entries.push_back(FolderEntry(name, t));
            AddGeneratedTree(walker, path + name + kNativeSeparator, depth + 1, seed,
                             unreadable ? nullptr : folders);
        } else {
            entries.push_back(FileEntry(name + ".jpg", seed * 1000003LL, t));
        }
    }
    walker.AddFolder(path, entries);
}

} // namespace vyp::test
