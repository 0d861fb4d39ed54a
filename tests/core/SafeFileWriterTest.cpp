#include "TestSupport.h"

#include "lists/ListFile.h"
#include "lists/SettingsFile.h"
#include "platform/SystemError.h"
#include "util/Errors.h"
#include "util/SafeFileWriter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace vyp {
namespace {

size_t FilesIn(const std::string& folder) {
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator(test::FsPath(folder)), {}));
}

// A disk that fails at any step of a write leaves the old list byte for byte, no temporary
// beside it, and the error the user reads names the list and the system's reason.
TEST(SafeFileWriter, AFailureAtAnyStepKeepsTheOldFileAndLeavesNoTemporary) {
    struct Case {
        SafeWriteStep step;
        int err;
        const char* words;
    };
    const Case cases[] = {
        {SafeWriteStep::CreateTemporary, kErrorAccessDenied, "Cannot open file"},
        {SafeWriteStep::Write, EIO, "Cannot write file"},
        {SafeWriteStep::ShortWrite, 0, "Cannot write file"}, // the disk fills up half-way
        {SafeWriteStep::Sync, EIO, "Cannot write file"},
        {SafeWriteStep::Close, kErrorDiskFull, "Cannot write file"},
        {SafeWriteStep::Rename, EXDEV, "Cannot write file"},
    };
    test::TempDir dir;
    const std::string list = dir / "Obrázky – Fotos été 2004.sez";
    const std::string old = "E:\\\t3\r\nÚčet.txt\t3\t2004.1.2\t3:4.6\r\n";
    test::WriteFile(list, old);
    std::vector<std::string> lines{"F:\\\t0"};
    for (int i = 0; i < 20000; ++i) // more than the writer buffers, so the disk is written to
        lines.push_back("Датотека " + std::to_string(i) + ".tar.gz\t1\t2004.1.2\t3:4.6");

    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        SafeFileWriter::FailNextAt(c.step, c.err);
        try {
            WriteListFile(list, lines);
            ADD_FAILURE() << "the write reported success";
        } catch (const VypisnikError& error) {
            const std::string reason = SystemErrorText(c.err != 0 ? c.err : kErrorDiskFull);
            EXPECT_EQ(error.what(), std::string(c.words) + " \"" + list + "\". " + reason);
        }
        EXPECT_EQ(test::ReadFile(list), old);
        EXPECT_EQ(FilesIn(dir.Path()), 1u);
    }
    // Nothing is left armed: the next write goes through.
    WriteListFile(list, lines);
    EXPECT_EQ(test::ReadFile(list).substr(0, 5), "F:\\\t0");

    // "settings.ini" is written the same way, and its failure reads as it always has.
    const std::string settings = dir / "settings.ini";
    test::WriteFile(settings, "[Seznamy]\r\nDisk.sez=3\r\n");
    SafeFileWriter::FailNextAt(SafeWriteStep::Rename, EIO);
    EXPECT_THROW(SettingsFile(settings).WriteInteger("Seznamy", "Disk.sez", 5), VypisnikError);
    EXPECT_EQ(test::ReadFile(settings), "[Seznamy]\r\nDisk.sez=3\r\n");
    EXPECT_EQ(FilesIn(dir.Path()), 3u); // the list, "settings.ini" and the writers' lock file
}

} // namespace
} // namespace vyp
