// The scan on several threads: the same bytes as on one, every folder listed once, walker
// errors reaching the caller, and walkers that cannot list concurrently kept on one thread.
#include "TestSupport.h"

#include "platform/Native.h"
#include "scan/FolderLookahead.h"
#include "scan/FolderScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vyp {
namespace {

using test::At;
using test::FileEntry;
using test::FolderEntry;

struct ScanResult {
    std::string bytes;
    size_t unreadable = 0;
};

ScanResult ScanWithThreads(DirectoryWalker& walker, const std::string& root,
                           const std::string& file, unsigned threads, bool foldersOnly = false) {
    ScanLines lines;
    ScanOptions options{foldersOnly, ":", threads};
    ScanResult result;
    result.unreadable = CreateList(walker, root, file, options, lines);
    result.bytes = test::ReadFile(file);
    return result;
}

#ifndef _WIN32
// A chain of folders deeper than the longest path the system opens: the folders below the limit
// cannot be listed. Made and removed relative to open folders, as paths would be refused.
class DeepChain {
public:
    DeepChain(const std::string& parent, const std::string& name, int depth) : m_name(name) {
        int fd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < depth && fd >= 0; ++i) {
            m_fds.push_back(fd);
            ::mkdirat(fd, name.c_str(), 0755);
            const int file = ::openat(fd, "Übersicht.txt", O_CREAT | O_WRONLY, 0644);
            if (file >= 0) {
                (void)::write(file, "data", static_cast<size_t>(i % 5));
                ::close(file);
            }
            fd = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        }
        if (fd >= 0)
            m_fds.push_back(fd);
    }
    ~DeepChain() {
        for (size_t i = m_fds.size(); i-- > 0;) {
            ::unlinkat(m_fds[i], "Übersicht.txt", 0);
            if (i + 1 < m_fds.size())
                ::unlinkat(m_fds[i], m_name.c_str(), AT_REMOVEDIR);
            ::close(m_fds[i]);
        }
    }

private:
    std::string m_name;
    std::vector<int> m_fds;
};

#endif

TEST(FolderScanThreads, RealTreeGivesTheSameBytesOnEveryThreadCount) {
    VYP_LINUX_ONLY("symbolic links, permission bits and paths beyond the system's limit");
#ifndef _WIN32
    test::TempDir dir;
    const std::string root = dir / "Záloha disku D";
    // Enough folders of uneven size that the workers run ahead of the writer.
    for (int i = 0; i < 160; ++i) {
        std::string folder =
            root + "/" + test::kNamesOfManyLanguages[i % 16] + " " + std::to_string(i);
        if (i % 7 == 3)
            folder +=
                std::string("/") + test::kNamesOfManyLanguages[(i + 5) % 16] + "/Ünter ordner.v2";
        std::filesystem::create_directories(folder);
        for (int j = 0; j < (i * 37) % 9; ++j)
            test::WriteFile(folder + "/" + test::kNamesOfManyLanguages[(i + j) % 16] + ".část " +
                                std::to_string(j) + ".tar.gz",
                            std::string(static_cast<size_t>((i + j) % 11), 'x'));
    }
    std::filesystem::create_directory_symlink("..", root + "/Фотографии 3/zpět nahoru");
    std::filesystem::create_symlink("Dovolená 2019 0", root + "/odkaz na složku");
    std::filesystem::create_symlink("nikam/nic.txt", root + "/Été à Paris 2/mrtvý odkaz");
    std::filesystem::create_directories(root + "/zamčeno/uvnitř");
    test::WriteFile(root + "/zamčeno/uvnitř/tajné.doc", "secret");
    ::chmod((root + "/zamčeno").c_str(), 0); // unreadable unless the tests run as root
    std::string longName;
    while (longName.size() < 200)
        longName += "Hluboká složka глубокая 深い ";
    const DeepChain chain(root, longName, 30);

    const ScanResult one = ScanWithThreads(*std::make_unique<NativeDirectoryWalker>(), root + "/",
                                           dir / "jedno.sez", 1);
    EXPECT_GE(one.unreadable, 1u);
    EXPECT_NE(one.bytes.find("写真 アルバム 4\\"), std::string::npos);
    EXPECT_NE(one.bytes.find("\r\nzpět nahoru\t2\t"), std::string::npos); // the link, not its tree
    for (unsigned threads : {2u, 3u, 8u}) {
        NativeDirectoryWalker walker;
        const ScanResult many = ScanWithThreads(walker, root + "/", dir / "více.sez", threads);
        EXPECT_EQ(many.bytes, one.bytes) << threads << " threads";
        EXPECT_EQ(many.unreadable, one.unreadable) << threads << " threads";
    }
    ::chmod((root + "/zamčeno").c_str(), 0755);
#endif
}

TEST(FolderScanThreads, FakeTreeIsListedOnceEachAndWrittenAsOnOneThread) {
    for (bool foldersOnly : {false, true}) {
        test::TempDir dir;
        test::FakeDirectoryWalker inOrder;
        test::FakeDirectoryWalker concurrent;
        concurrent.AllowConcurrentListing();
        test::AddGeneratedTree(inOrder, test::Native("/mnt/Архив/"));
        std::vector<std::string> folders =
            test::AddGeneratedTree(concurrent, test::Native("/mnt/Архив/"));
        ASSERT_GT(folders.size(), 200u);

        const ScanResult one =
            ScanWithThreads(inOrder, test::Native("/mnt/Архив/"), dir / "a.sez", 1, foldersOnly);
        const ScanResult many =
            ScanWithThreads(concurrent, test::Native("/mnt/Архив/"), dir / "b.sez", 4, foldersOnly);
        EXPECT_EQ(many.bytes, one.bytes);
        EXPECT_GT(one.unreadable, 0u);
        EXPECT_EQ(many.unreadable, one.unreadable);

        std::vector<std::string> listed = concurrent.Listed();
        std::sort(listed.begin(), listed.end());
        std::sort(folders.begin(), folders.end());
        EXPECT_EQ(listed, folders) << "every folder listed exactly once";
    }
}

TEST(FolderScanThreads, WalkerThatCannotListConcurrentlyIsListedInOrderOnOneThread) {
    test::TempDir dir;
    test::FakeDirectoryWalker walker;
    const std::vector<std::string> folders =
        test::AddGeneratedTree(walker, test::Native("/média/"));
    ScanWithThreads(walker, test::Native("/média/"), dir / "c.sez", 8);
    EXPECT_EQ(walker.Listed(), folders); // the depth-first order, which threads would not keep
}

// Fails on one folder deep in the tree, as a walker does when memory runs out.
class FailingWalker final : public DirectoryWalker {
public:
    FailingWalker(DirectoryWalker& inner, std::string failing)
        : m_inner(inner), m_failing(std::move(failing)) {}
    bool ListFolder(const std::string& folderPath, std::vector<DirectoryEntry>& entries) override {
        if (folderPath == m_failing)
            throw std::runtime_error("no memory for " + folderPath);
        return m_inner.ListFolder(folderPath, entries);
    }
    bool ListsConcurrently() const override { return true; }

private:
    DirectoryWalker& m_inner;
    std::string m_failing;
};

TEST(FolderScanThreads, WalkerErrorOnAWorkerReachesTheCallerAndNoListIsWritten) {
    test::TempDir dir;
    test::FakeDirectoryWalker fake;
    fake.AllowConcurrentListing();
    const std::vector<std::string> folders = test::AddGeneratedTree(fake, test::Native("/d/"));
    const std::string file = dir / "Stará.sez";
    test::WriteFile(file, "old list\r\n");
    for (size_t failing : {size_t(0), folders.size() / 2, folders.size() - 1}) {
        FailingWalker walker(fake, folders[failing]);
        ScanLines lines;
        try {
            CreateList(walker, test::Native("/d/"), file, ScanOptions{false, ":", 3}, lines);
            ADD_FAILURE() << "no error for " << folders[failing];
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), "no memory for " + folders[failing]);
        }
        EXPECT_EQ(test::ReadFile(file), "old list\r\n");
    }
}

} // namespace
} // namespace vyp
