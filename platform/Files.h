// Files as the core uses them: read from start to end or at given places, written to a
// temporary beside the file they replace and then put in its place in one step. Every function
// returns 0 or the system's error code and never throws; the callers word the messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vyp {

// What is at a path, links followed.
enum class PathKind { Missing, File, Folder, Other };
PathKind KindOfPath(const std::string& path);

// The size and last-write time of an open file, to tell whether it changed between two reads.
struct FileStamp {
    int64_t size = 0;
    int64_t modifiedNanoseconds = 0; // since 1970 UTC
    bool operator==(const FileStamp&) const = default;
};

// The stored handle of a file that is not open: -1 is no descriptor on Linux and is
// INVALID_HANDLE_VALUE on Windows.
inline constexpr intptr_t kClosedHandle = -1;

// A file opened for reading, in binary: bytes come as they are on disk.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens path. A folder is refused with kErrorIsAFolder. sequential tells the system the file
    // will be read from start to end, so it reads ahead.
    int Open(const std::string& path, bool sequential);
    // Reads up to count bytes at the current place; done is 0 at the end of the file.
    int Read(char* buffer, size_t count, size_t& done);
    // Reads up to count bytes at offset, leaving the current place where it is.
    int ReadAt(int64_t offset, char* buffer, size_t count, size_t& done);
    int Stamp(FileStamp& stamp) const;
    bool IsOpen() const { return m_handle != kClosedHandle; }
    void Close();

private:
    friend class MappedFilePart;       // maps stretches of the open file
    intptr_t m_handle = kClosedHandle; // the system's descriptor or handle
};

// The temporary file of a safe replace.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile(); // closes and removes a temporary that was not put in place
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates an empty file with a new name beside target ("TARGET.tmp-XXXXXX": the suffix keeps
    // it out of every "*.sez" enumeration), holding a lock that tells the cleanup at start it is
    // being written, with the access rights of the file it will replace or those of a new file.
    int CreateBeside(const std::string& target);
    // Writes up to count bytes; done may be less than count.
    int Write(const char* bytes, size_t count, size_t& done);
    // Puts everything written on the disk itself.
    int Sync();
    // Closes the file, which lets go of its lock; it stays until it replaces target or is
    // removed.
    int Close();
    // Puts the temporary in target's place in one step, replacing a file there. Made while it
    // is still open, before Close: a writer holds its lock until its temporary is in place, so
    // another instance's cleanup never takes a temporary about to be renamed for a stale one.
    int Replace(const std::string& target);
    // Closes (if open) and removes the temporary.
    void Discard();

    const std::string& Path() const { return m_path; }

private:
    intptr_t m_handle = kClosedHandle;
    std::string m_path;
};

// The file that a write of path replaces: a symbolic link is written through, so the file it
// names is replaced and the link stays a link. path itself where there are no links.
std::string FileReplacedByWriteOf(const std::string& path);
// 0 when a write may replace whatever is at path (nothing there counts): not a folder, not a
// read-only file, and the current user may write it.
int CheckReplaceable(const std::string& path);

// Creates the folder at path; an existing folder is no error.
int MakeFolder(const std::string& path);
int RemoveFile(const std::string& path);

// The names in folder, "." and ".." left out, in no particular order; empty when it cannot be
// read.
std::vector<std::string> NamesInFolder(const std::string& folder);
// Removes folder/name when it is a plain file last written before modifiedBeforeNanoseconds
// (since 1970 UTC) that no temporary writer holds (see TemporaryFile::CreateBeside), checking,
// once it holds the lock, that the name still means the same file.
bool RemoveIfUnheld(const std::string& folder, const std::string& name,
                    int64_t modifiedBeforeNanoseconds);
// The paths of the files this process has open (on Windows, which cannot list them plainly:
// the temporaries it is writing, the only ones the core asks about).
std::vector<std::string> PathsOfOwnOpenFiles();

// The advisory lock of a lock file (flock on Linux, LockFileEx on Windows), held through an open
// handle: the system drops it when the handle is closed or its process ends, so a lock file
// left behind by a killed process blocks nobody. Opens path, making an empty file when there is
// none, and takes its exclusive lock if nobody holds it, without waiting. Returns 0 with handle
// set; kErrorLockHeld when another handle, of this process or another, holds it; else the
// system's error (a folder that cannot be written, a file system without locks), nothing held.
int TryLockFile(const std::string& path, intptr_t& handle);
// Releases the lock and closes the handle.
void UnlockFile(intptr_t handle);

// The folder of the running executable, with the native separator at its end; empty if unknown.
std::string ExecutableFolder();

} // namespace vyp
