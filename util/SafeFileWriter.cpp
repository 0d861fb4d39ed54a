#include "util/SafeFileWriter.h"

#include "util/Errors.h"

#include "platform/SystemError.h"

#include <atomic>
#include <mutex>

namespace vyp {

namespace {
constexpr size_t kBufferSize = 1 << 16;

// The failure a test asked for: the step (plus one, 0 for none), its error number and the end
// of the paths it is for (empty: any).
std::atomic<int> g_failingStep{0};
std::atomic<int> g_failingError{0};
std::mutex g_failingPathMutex;
std::string g_failingPathEnding;

// True, with err set, when the test asked step to fail for path; the request is used up.
bool InjectedFailure(SafeWriteStep step, const std::string& path, int& err) {
    if (g_failingStep.load() != static_cast<int>(step) + 1)
        return false;
    {
        const std::lock_guard lock(g_failingPathMutex);
        if (!path.ends_with(g_failingPathEnding))
            return false;
    }
    int expected = static_cast<int>(step) + 1;
    if (!g_failingStep.compare_exchange_strong(expected, 0))
        return false;
    err = g_failingError.load();
    return true;
}

} // namespace

void SafeFileWriter::FailNextAt(SafeWriteStep step, int err, std::string pathEnding) {
    {
        const std::lock_guard lock(g_failingPathMutex);
        g_failingPathEnding = std::move(pathEnding);
    }
    g_failingError = err;
    g_failingStep = static_cast<int>(step) + 1;
}

SafeFileWriter::SafeFileWriter(std::string path)
    : m_path(std::move(path)), m_targetPath(FileReplacedByWriteOf(m_path)) {
    if (const int err = CheckReplaceable(m_path))
        throw VypisnikError(FileOpenErrorText(m_path, err));
    int injected = 0;
    if (InjectedFailure(SafeWriteStep::CreateTemporary, m_path, injected))
        throw VypisnikError(FileOpenErrorText(m_path, injected));
    // Beside the file it replaces, so that putting it in place is one step on one file system.
    if (const int err = m_temporary.CreateBeside(m_targetPath))
        throw VypisnikError(FileOpenErrorText(m_path, err));
    m_buffer.reserve(kBufferSize);
}

SafeFileWriter::~SafeFileWriter() = default; // an uncommitted temporary is removed

void SafeFileWriter::Write(std::string_view bytes) {
    m_complete = false;
    if (m_buffer.size() + bytes.size() > kBufferSize)
        Flush();
    if (bytes.size() >= kBufferSize) {
        m_buffer.assign(bytes);
        Flush();
        return;
    }
    m_buffer.append(bytes);
}

void SafeFileWriter::Flush() {
    size_t done = 0;
    int injected = 0;
    if (InjectedFailure(SafeWriteStep::Write, m_path, injected))
        FailWrite(injected);
    size_t allowed = m_buffer.size(); // bytes the disk takes
    if (InjectedFailure(SafeWriteStep::ShortWrite, m_path, injected))
        allowed /= 2;
    while (done < m_buffer.size()) {
        size_t written = 0;
        const int err =
            done < allowed ? m_temporary.Write(m_buffer.data() + done, allowed - done, written) : 0;
        if (err != 0 || written == 0)
            FailWrite(err != 0 ? err : kErrorDiskFull);
        done += written;
    }
    m_buffer.clear();
}

void SafeFileWriter::FailWrite(int err) {
    m_temporary.Discard();
    throw VypisnikError(FileWriteErrorText(m_path, err));
}

void SafeFileWriter::Complete() {
    if (m_complete)
        return;
    Flush();
    int injected = 0;
    if (InjectedFailure(SafeWriteStep::Sync, m_path, injected))
        FailWrite(injected);
    if (const int err = m_temporary.Sync())
        FailWrite(err);
    m_complete = true;
}

void SafeFileWriter::Commit() {
    Complete();
    int injected = 0;
    if (InjectedFailure(SafeWriteStep::Close, m_path, injected))
        FailWrite(injected);
    if (InjectedFailure(SafeWriteStep::Rename, m_path, injected))
        FailWrite(injected);
    // Renamed before it is closed, so the temporary stays locked until it is in place.
    if (const int err = m_temporary.Replace(m_targetPath))
        FailWrite(err);
    // Everything is on the disk already: the list is in place, whatever closing says.
    m_temporary.Close();
}

void WriteFileSafely(const std::string& path, std::string_view contents) {
    SafeFileWriter writer(path);
    writer.Write(contents);
    writer.Commit();
}

} // namespace vyp
