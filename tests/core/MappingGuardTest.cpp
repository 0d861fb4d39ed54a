// A mapped file cut short in place by another program while it is read: the reads past its new
// end find zeros and the part says so, and a bus error anywhere else still ends the process.
#include "TestSupport.h"

#include "lists/ListRegionReader.h"
#include "platform/FileContents.h"
#include "platform/Files.h"
#include "platform/MappedFilePart.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define VYP_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VYP_UNDER_ASAN 1
#endif
#endif

namespace vyp {
namespace {

#ifndef _WIN32
// A list of some hundred kilobytes, many pages, with names as disks hold them.
std::string ListBytes(size_t size) {
    const char* names[] = {
        "Přehled účtů 2023.xlsx", "Übersicht.Bestellungen.pdf", "Noël à Paris.MP4", "Музыка\\",
        "写真 東京.jpg",          "archiv.2019.tar.gz",         "Žluťoučký kůň.mp3"};
    std::mt19937 random(11);
    std::string bytes = "/media/cdrom/\t123456789\r\n";
    while (bytes.size() < size) {
        bytes += names[random() % 7];
        bytes += "\t1571696\t2018.4.24\t4:38.20\r\n";
    }
    bytes.resize(size);
    return bytes;
}

// Every byte of bytes read one by one, as a reader goes through them.
std::string ReadThrough(std::string_view bytes) {
    std::string read(bytes.size(), '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        read[i] = *static_cast<const volatile char*>(bytes.data() + i);
    return read;
}

// What a part of [from, from + count) reads once the file was cut to size: the file's bytes up
// to its new end, zeros after.
std::string CutTo(const std::string& file, size_t from, size_t count, size_t size) {
    std::string expected = file.substr(from, size > from ? size - from : 0);
    expected.resize(count, '\0');
    return expected;
}

void CutShortInPlace(const std::string& path, off_t size) {
    ASSERT_EQ(::truncate(path.c_str(), size), 0);
}
#endif

TEST(MappingGuard, APartCutShortWhileReadReadsZerosPastTheNewEndAndSaysSo) {
#ifdef _WIN32
    VYP_LINUX_ONLY("nothing is mapped on Windows");
#else
    test::TempDir dir;
    const std::string path = dir / "Záloha fotek.2024.sez";
    const std::string file = ListBytes(300000);
    test::WriteFile(path, file);
    InputFile input;
    ASSERT_EQ(input.Open(path, true), 0);

    // From the file's start, and from an offset in the middle of a page.
    for (const size_t from : {size_t{0}, size_t{5003}}) {
        test::WriteFile(path, file);
        MappedFilePart part;
        ASSERT_TRUE(part.Map(input, static_cast<int64_t>(from), 250000));
        const std::string_view bytes = part.Bytes();
        ASSERT_EQ(bytes.size(), 250000u);
        EXPECT_TRUE(ReadThrough(bytes.substr(0, 4000)) == file.substr(from, 4000));
        EXPECT_FALSE(part.CutShort());
        const size_t cut = 123457; // not at a page's end
        CutShortInPlace(path, static_cast<off_t>(cut));
        EXPECT_TRUE(ReadThrough(bytes) == CutTo(file, from, 250000, cut)) << from;
        EXPECT_TRUE(part.CutShort());
        // Mapped again, the part is the file as it is now.
        ASSERT_TRUE(part.Map(input, static_cast<int64_t>(from), 250000));
        EXPECT_FALSE(part.CutShort());
        EXPECT_TRUE(ReadThrough(part.Bytes()) == file.substr(from, cut - from));
    }
#endif
}

TEST(MappingGuard, OnlyThePartsThatReadPastTheNewEndSaySo) {
#ifdef _WIN32
    VYP_LINUX_ONLY("nothing is mapped on Windows");
#else
    test::TempDir dir;
    const std::string cutPath = dir / "Originál.sez";
    const std::string otherPath = dir / "Jiný disk.sez";
    const std::string file = ListBytes(200000);
    test::WriteFile(cutPath, file);
    test::WriteFile(otherPath, file);
    InputFile cutInput;
    InputFile otherInput;
    ASSERT_EQ(cutInput.Open(cutPath, true), 0);
    ASSERT_EQ(otherInput.Open(otherPath, true), 0);
    MappedFilePart head, tail, other;
    ASSERT_TRUE(head.Map(cutInput, 0, 50000));
    ASSERT_TRUE(tail.Map(cutInput, 100000, 100000));
    ASSERT_TRUE(other.Map(otherInput, 0, 200000));
    FileContents whole;
    ASSERT_EQ(whole.Open(cutPath), 0);

    CutShortInPlace(cutPath, 150000);
    // Before the new end: the file's bytes, nothing to say.
    EXPECT_TRUE(ReadThrough(head.Bytes()) == file.substr(0, 50000));
    EXPECT_FALSE(head.CutShort());
    EXPECT_FALSE(tail.CutShort()) << "said before it read past the end";
    EXPECT_TRUE(ReadThrough(tail.Bytes()) == CutTo(file, 100000, 100000, 150000));
    EXPECT_TRUE(tail.CutShort());
    EXPECT_TRUE(ReadThrough(other.Bytes()) == file);
    EXPECT_FALSE(other.CutShort());
    // The whole file at hand at once is cut the same way.
    EXPECT_FALSE(whole.CutShort());
    EXPECT_TRUE(ReadThrough(whole.Bytes()) == CutTo(file, 0, 200000, 150000));
    EXPECT_TRUE(whole.CutShort());
    // Moved, it still knows.
    FileContents moved = std::move(whole);
    EXPECT_TRUE(moved.CutShort());
    EXPECT_FALSE(whole.CutShort());
    moved.Close();
    EXPECT_FALSE(moved.CutShort());
#endif
}

TEST(MappingGuard, WithEveryMappingWatchedAlreadyFilesAreReadInstead) {
#ifdef _WIN32
    VYP_LINUX_ONLY("nothing is mapped on Windows");
#else
    test::TempDir dir;
    const std::string path = dir / "Übersicht.2023.sez";
    const std::string file = ListBytes(100000);
    test::WriteFile(path, file);
    InputFile input;
    ASSERT_EQ(input.Open(path, true), 0);
    // More parts than the guard watches at once: the last ones map nothing.
    std::vector<std::unique_ptr<MappedFilePart>> parts;
    size_t mapped = 0;
    for (int i = 0; i < 300; ++i) {
        parts.push_back(std::make_unique<MappedFilePart>());
        mapped += parts.back()->Map(input, 0, 100000) ? 1 : 0;
    }
    EXPECT_GT(mapped, 0u);
    EXPECT_LT(mapped, 300u);
    // Then a whole file is read into memory, and a list through the reader's buffer.
    FileContents contents;
    ASSERT_EQ(contents.Open(path), 0);
    EXPECT_EQ(contents.Bytes(), file);
    EXPECT_FALSE(contents.CutShort());
    ListRegionReader reader(path);
    std::string lines;
    ListRegion region;
    while (reader.Next(region))
        lines += region.lines;
    EXPECT_EQ(std::string(reader.Header()) + "\r\n" + lines, file);
    // Once parts go, mapping works again.
    parts.clear();
    MappedFilePart part;
    EXPECT_TRUE(part.Map(input, 0, 100000));
#endif
}

#ifndef _WIN32
// Maps path without the guard and reads past its end once it is cut short: a bus error no guard
// should take for its own. The dying process's own test folder goes first: it cannot clean up
// after.
void UnguardedReadPastTheEnd(const std::string& path, const test::TempDir& dir) {
    const int fd = ::open(path.c_str(), O_RDWR);
    void* bytes = ::mmap(nullptr, 100000, PROT_READ, MAP_PRIVATE, fd, 0);
    if (bytes == MAP_FAILED || ::ftruncate(fd, 1000) != 0)
        std::_Exit(9);
    std::filesystem::remove_all(test::FsPath(dir.Path()));
    std::fprintf(stderr, "%d\n", static_cast<const volatile char*>(bytes)[90000]);
}

// Maps part of path through the guard, which is installed then.
void GuardedPart(MappedFilePart& part, InputFile& input, const std::string& path) {
    if (input.Open(path, true) != 0 || !part.Map(input, 0, 100000))
        std::_Exit(8);
}

// How the process ends when a bus error is not the guard's: by the signal, or under
// AddressSanitizer (which handles SIGBUS unless told not to) by its report.
bool EndedByBusError(int status) {
#ifdef VYP_UNDER_ASAN
    // Its report ends the process with status 1, or by abort with abort_on_error.
    if ((WIFEXITED(status) && WEXITSTATUS(status) == 1) ||
        (WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT))
        return true;
#endif
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGBUS;
}
#define VYP_EXPECT_BUS_ERROR_DEATH(statement) EXPECT_EXIT(statement, EndedByBusError, "")

TEST(MappingGuardDeathTest, ABusErrorOutsideEveryWatchedPartStillEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::TempDir dir;
    const std::string guarded = dir / "Музыка.sez";
    const std::string other = dir / "写真 東京.bin";
    test::WriteFile(guarded, ListBytes(100000));
    test::WriteFile(other, ListBytes(100000));
    VYP_EXPECT_BUS_ERROR_DEATH({
        MappedFilePart part;
        InputFile input;
        GuardedPart(part, input, guarded);
        UnguardedReadPastTheEnd(other, dir);
    });
    // A signal sent by another process names no address of a part, whatever it holds.
    VYP_EXPECT_BUS_ERROR_DEATH({
        MappedFilePart part;
        InputFile input;
        GuardedPart(part, input, guarded);
        std::filesystem::remove_all(test::FsPath(dir.Path()));
        std::raise(SIGBUS);
    });
}

void EarlierHandler(int, siginfo_t*, void*) {
    const char said[] = "the earlier handler\n";
    [[maybe_unused]] const ssize_t written = ::write(2, said, sizeof said - 1);
    std::_Exit(3);
}

TEST(MappingGuardDeathTest, TheHandlerInstalledBeforeGetsTheBusErrorsThatAreNotTheGuards) {
    // A process of its own, so that the handler is there before the guard's.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::TempDir dir;
    const std::string guarded = dir / "Noël à Paris.sez";
    const std::string other = dir / "archiv.2019.tar.gz";
    const std::string file = ListBytes(100000);
    test::WriteFile(guarded, file);
    test::WriteFile(other, file);
    EXPECT_EXIT(
        {
            struct sigaction earlier {};
            earlier.sa_sigaction = EarlierHandler;
            earlier.sa_flags = SA_SIGINFO;
            sigemptyset(&earlier.sa_mask);
            ::sigaction(SIGBUS, &earlier, nullptr);
            MappedFilePart part;
            InputFile input;
            GuardedPart(part, input, guarded);
            // The guard's own: the read goes on.
            CutShortInPlace(guarded, 1000);
            if (ReadThrough(part.Bytes()) != CutTo(file, 0, 100000, 1000) || !part.CutShort())
                std::_Exit(7);
            UnguardedReadPastTheEnd(other, dir);
        },
        ::testing::ExitedWithCode(3), "the earlier handler");
}
#endif

} // namespace
} // namespace vyp
