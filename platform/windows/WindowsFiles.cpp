// Files on Windows: wide paths, handles opened in binary with every sharing a reader can grant,
// and the safe replace through ReplaceFileW. Error codes are the system's own (GetLastError),
// their texts come from FormatMessageW in the user's language.
#include "platform/Files.h"
#include "platform/StoredHandle.h"
#include "platform/SystemError.h"

#include "platform/windows/WindowsApi.h"

#include <algorithm>
#include <mutex>
#include <random>
#include <string_view>
#include <vector>

namespace vyp {

// Windows refuses to open a folder as a file with "access denied"; the core says the same.
const int kErrorIsAFolder = ERROR_ACCESS_DENIED;
const int kErrorAccessDenied = ERROR_ACCESS_DENIED;
const int kErrorDiskFull = ERROR_DISK_FULL;
const int kErrorLockHeld = ERROR_LOCK_VIOLATION;
const int kErrorCutShort = ERROR_READ_FAULT; // never raised: nothing is mapped there

std::string SystemErrorText(int code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = buffer != nullptr ? Utf8Text(buffer, length) : std::string();
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "System error " + std::to_string(code) : text;
}

namespace {
// Bytes per read or write call: the calls take a 32-bit count.
constexpr DWORD kMostPerCall = 1u << 30;
// Every sharing a reader can grant: a list being read may still be replaced or removed.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The byte range a temporary writer locks. Beyond any real end of file, so it hinders no read;
// the cleanup at start tries the same lock to learn whether a writer is still at work.
constexpr DWORD kWriterLockOffsetHigh = 0x7FFFFFFF;

HANDLE Handle(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

intptr_t Stored(HANDLE handle) {
    return reinterpret_cast<intptr_t>(handle);
}

int LastError() {
    return static_cast<int>(::GetLastError());
}

OVERLAPPED At(int64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset));
    at.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
    return at;
}

bool LockWriterRange(HANDLE file) {
    OVERLAPPED at{};
    at.OffsetHigh = kWriterLockOffsetHigh;
    return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
}

// Whether the file open as file still has name as its last path component: its writer renames
// it before it lets go of the lock, so a file that was locked at last may bear its new name.
bool StillNamed(HANDLE file, const std::string& name) {
    std::vector<char> buffer(sizeof(FILE_NAME_INFO) + 32768 * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_NAME_INFO*>(buffer.data());
    if (!::GetFileInformationByHandleEx(file, FileNameInfo, info,
                                        static_cast<DWORD>(buffer.size())))
        return false;
    const std::wstring_view path(info->FileName, info->FileNameLength / sizeof(wchar_t));
    const std::wstring_view last = path.substr(path.find_last_of(L"\\/") + 1);
    const std::wstring wanted = WideText(name);
    return ::CompareStringOrdinal(last.data(), static_cast<int>(last.size()), wanted.c_str(),
                                  static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL;
}

// The temporaries this process is writing, for the removal when it is told to end.
std::mutex g_ownTemporariesMutex;
std::vector<std::string> g_ownTemporaries;

void NoteOwnTemporary(const std::string& path, bool open) {
    const std::lock_guard lock(g_ownTemporariesMutex);
    const auto found = std::find(g_ownTemporaries.begin(), g_ownTemporaries.end(), path);
    if (open && found == g_ownTemporaries.end())
        g_ownTemporaries.push_back(path);
    else if (!open && found != g_ownTemporaries.end())
        g_ownTemporaries.erase(found);
}

// The path a "\\?\" name stands for, in the form people write it.
std::string WithoutLongPrefix(std::wstring path) {
    if (path.starts_with(L"\\\\?\\UNC\\"))
        path.replace(0, 8, L"\\\\");
    else if (path.starts_with(L"\\\\?\\"))
        path.erase(0, 4);
    return Utf8Text(path);
}

// The attributes of what path names, links followed; INVALID_FILE_ATTRIBUTES when nothing.
DWORD AttributesFollowed(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return attributes;
    const HANDLE file = ::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return INVALID_FILE_ATTRIBUTES;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(file, &info);
    ::CloseHandle(file);
    return known ? info.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}
} // namespace

PathKind KindOfPath(const std::string& path) {
    const DWORD attributes = AttributesFollowed(WidePath(path));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::Missing;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return PathKind::Folder;
    return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? PathKind::Other : PathKind::File;
}

int InputFile::Open(const std::string& path, bool sequential) {
    Close();
    const std::wstring wide = WidePath(path);
    const HANDLE file =
        ::CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                      sequential ? FILE_FLAG_SEQUENTIAL_SCAN : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const int err = LastError();
        const DWORD attributes = ::GetFileAttributesW(wide.c_str());
        const bool folder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        return folder ? kErrorIsAFolder : err;
    }
    m_handle = Stored(file);
    return 0;
}

int InputFile::Read(char* buffer, size_t count, size_t& done) {
    DWORD read = 0;
    if (!::ReadFile(Handle(m_handle), buffer,
                    static_cast<DWORD>(std::min<size_t>(count, kMostPerCall)), &read, nullptr))
        return LastError();
    done = read;
    return 0;
}

int InputFile::ReadAt(int64_t offset, char* buffer, size_t count, size_t& done) {
    // A read at an offset moves a synchronous handle's place: it is put back afterwards.
    LARGE_INTEGER place{};
    if (!::SetFilePointerEx(Handle(m_handle), LARGE_INTEGER{}, &place, FILE_CURRENT))
        return LastError();
    OVERLAPPED at = At(offset);
    DWORD read = 0;
    int err = 0;
    if (!::ReadFile(Handle(m_handle), buffer,
                    static_cast<DWORD>(std::min<size_t>(count, kMostPerCall)), &read, &at)) {
        err = LastError();
        if (err == ERROR_HANDLE_EOF)
            err = 0; // at or past the end: nothing read
    }
    ::SetFilePointerEx(Handle(m_handle), place, nullptr, FILE_BEGIN);
    done = read;
    return err;
}

int InputFile::Stamp(FileStamp& stamp) const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(Handle(m_handle), &info))
        return LastError();
    stamp.size = static_cast<int64_t>((uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow);
    stamp.modifiedNanoseconds = UnixNanosecondsOf(info.ftLastWriteTime);
    return 0;
}

int TemporaryFile::CreateBeside(const std::string& target) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mutex randomMutex;
    static std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = target + ".tmp-";
        {
            const std::lock_guard lock(randomMutex);
            std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
            for (int i = 0; i < 6; ++i)
                path.push_back(kLetters[pick(random)]);
        }
        // Readers may look; a delete is shared so this process can remove it when told to end,
        // and the cleanup at start learns from the lock that it is being written.
        const HANDLE file = ::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE | DELETE,
                                          FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const int err = LastError();
            if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS)
                continue;
            return err;
        }
        LockWriterRange(file);
        m_handle = Stored(file);
        m_path = std::move(path);
        NoteOwnTemporary(m_path, true);
        return 0;
    }
    return ERROR_FILE_EXISTS;
}

int TemporaryFile::Write(const char* bytes, size_t count, size_t& done) {
    DWORD written = 0;
    if (!::WriteFile(Handle(m_handle), bytes,
                     static_cast<DWORD>(std::min<size_t>(count, kMostPerCall)), &written, nullptr))
        return LastError();
    done = written;
    return 0;
}

int TemporaryFile::Sync() {
    return ::FlushFileBuffers(Handle(m_handle)) ? 0 : LastError();
}

int TemporaryFile::Close() {
    const intptr_t handle = m_handle;
    m_handle = kClosedHandle;
    NoteOwnTemporary(m_path, false);
    return CloseStoredHandle(handle);
}

int TemporaryFile::Replace(const std::string& target) {
    const std::wstring from = WidePath(m_path);
    const std::wstring to = WidePath(target);
    // ReplaceFileW keeps what the old file carried besides its bytes: its access rights, its
    // attributes, its creation time. The temporary is still open, so that its lock lasts until
    // it bears target's name; where that keeps ReplaceFileW from working, and for a target that
    // does not exist yet, a plain move does, since the handle lets others delete and rename.
    // Another program may hold the target for a moment so that neither call can replace it (a
    // reader of the settings, a virus scanner, the search indexer): try again for about half a
    // second before the write counts as failed.
    for (int attempt = 0;; ++attempt) {
        if (::ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                           nullptr, nullptr) ||
            ::MoveFileExW(from.c_str(), to.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            break;
        const DWORD error = ::GetLastError();
        if (attempt == 50 || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED))
            return static_cast<int>(error);
        ::Sleep(10);
    }
    NoteOwnTemporary(m_path, false);
    m_path.clear();
    return 0;
}

void TemporaryFile::Discard() {
    if (m_handle != kClosedHandle)
        CloseStoredHandle(m_handle);
    m_handle = kClosedHandle;
    if (!m_path.empty()) {
        NoteOwnTemporary(m_path, false);
        ::DeleteFileW(WidePath(m_path).c_str());
    }
    m_path.clear();
}

std::string FileReplacedByWriteOf(const std::string& path) {
    const std::wstring wide = WidePath(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    // A link: the file it names is replaced, and the link stays a link.
    const HANDLE file = ::CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return path;
    std::wstring named(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(file, named.data(), static_cast<DWORD>(named.size()),
                                               FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= named.size()) {
        named.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(file, named.data(), static_cast<DWORD>(named.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    ::CloseHandle(file);
    if (length == 0 || length >= named.size())
        return path;
    named.resize(length);
    return WithoutLongPrefix(std::move(named));
}

int CheckReplaceable(const std::string& path) {
    const std::wstring wide = WidePath(path);
    const DWORD attributes = AttributesFollowed(wide);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return kErrorIsAFolder;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return kErrorAccessDenied;
    // Asking to write tells both whether the user may and whether another program holds the
    // file without letting others write: then the replace would fail after the whole write.
    const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastError();
    ::CloseHandle(file);
    return 0;
}

int MakeFolder(const std::string& path) {
    if (::CreateDirectoryW(WidePath(path).c_str(), nullptr))
        return 0;
    const int err = LastError();
    return err == ERROR_ALREADY_EXISTS && KindOfPath(path) == PathKind::Folder ? 0 : err;
}

int RemoveFile(const std::string& path) {
    return ::DeleteFileW(WidePath(path).c_str()) ? 0 : LastError();
}

std::vector<std::string> NamesInFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE find =
        ::FindFirstFileExW(WidePath(PathInFolder(folder, "*")).c_str(), FindExInfoBasic, &found,
                           FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(Utf8Text(name.data(), name.size()));
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return names;
}

bool RemoveIfUnheld(const std::string& folder, const std::string& name,
                    int64_t modifiedBeforeNanoseconds) {
    const std::string path = PathInFolder(folder, name);
    // The handle holds what the name meant when it was opened; the delete goes through it, so a
    // file put under that name meanwhile is never the one removed. A link is opened as itself.
    const HANDLE file =
        ::CreateFileW(WidePath(path).c_str(), GENERIC_READ | DELETE, kShareAll, nullptr,
                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    bool removed = false;
    if (::GetFileInformationByHandle(file, &info) &&
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
        UnixNanosecondsOf(info.ftLastWriteTime) < modifiedBeforeNanoseconds &&
        LockWriterRange(file) && StillNamed(file, name)) {
        FILE_DISPOSITION_INFO disposition{};
        disposition.DeleteFile = TRUE;
        removed = ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                               sizeof disposition);
    }
    ::CloseHandle(file);
    return removed;
}

std::vector<std::string> PathsOfOwnOpenFiles() {
    // Of the files this process has open, the core only ever asks for its temporaries, and
    // Windows has no plain way to list a process's handles.
    const std::lock_guard lock(g_ownTemporariesMutex);
    return g_ownTemporaries;
}

int TryLockFile(const std::string& path, intptr_t& handle) {
    const std::wstring wide = WidePath(path);
    HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED)
        file = ::CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr); // a lock needs no write access
    if (file == INVALID_HANDLE_VALUE)
        return LastError();
    OVERLAPPED first{};
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &first)) {
        const int err = LastError();
        ::CloseHandle(file);
        return err == ERROR_IO_PENDING ? kErrorLockHeld : err;
    }
    handle = Stored(file);
    return 0;
}

int CloseStoredHandle(intptr_t handle) {
    return ::CloseHandle(Handle(handle)) ? 0 : LastError();
}

std::string ExecutableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
    std::string folder = WithoutLongPrefix(std::move(path));
    const size_t separator = folder.find_last_of("\\/");
    if (separator == std::string::npos)
        return {};
    folder.erase(separator + 1);
    return folder;
}

} // namespace vyp
