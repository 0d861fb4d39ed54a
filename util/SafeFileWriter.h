// Writes a file so that a failure never destroys the previous contents: the bytes go to a
// temporary file in the same folder, which replaces the old file by a rename only once all of
// them are on disk. A writer that is destroyed without Commit() removes its temporary file.
#pragma once

#include "platform/Files.h"

#include <string>
#include <string_view>

namespace vyp {

// The steps of a safe write, each of which a test can make fail.
enum class SafeWriteStep { CreateTemporary, Write, ShortWrite, Sync, Close, Rename };

class SafeFileWriter {
public:
    // For tests of what a failing disk leaves behind: the next time a safe write reaches step,
    // that step fails with the system error err (ShortWrite writes half of its bytes, then
    // reports a full disk). Once only, and only for a path ending with pathEnding when one is
    // given.
    static void FailNextAt(SafeWriteStep step, int err, std::string pathEnding = {});

    // Starts the temporary file beside path. A path whose existing file is read-only (no write
    // permission bit at all, the read-only attribute of Windows) is refused like one whose folder
    // cannot be written. Throws VypisnikError "Cannot open file "PATH". REASON".
    explicit SafeFileWriter(std::string path);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Buffers bytes. Throws VypisnikError "Cannot write file "PATH". REASON".
    void Write(std::string_view bytes);
    // Flushes and syncs the temporary file: everything but the rename, which may then be made
    // quickly under a lock. Throws as Write does.
    void Complete();
    // Completes the temporary file unless that was done, and renames it over path. Throws as
    // Write does.
    void Commit();

    const std::string& Path() const { return m_path; }

private:
    void Flush();
    [[noreturn]] void FailWrite(int err);

    std::string m_path;       // as the caller named it, for the messages
    std::string m_targetPath; // the file replaced: m_path, or the file a link at m_path names
    TemporaryFile m_temporary;
    std::string m_buffer;
    bool m_complete = false; // everything written is on the disk
};

// Replaces the file at path by contents, through a SafeFileWriter.
void WriteFileSafely(const std::string& path, std::string_view contents);

} // namespace vyp
