#include "scan/FolderScan.h"

#include "lists/StoredDateTime.h"
#include "platform/Native.h"
#include "scan/FolderLookahead.h"
#include "util/SafeFileWriter.h"

#include <charconv>
#include <thread>

namespace vyp {

namespace {

struct PendingFolder { // a subfolder met while its parent is enumerated
    std::string name;
    LocalDateTime modified;
};

void AppendSafeName(std::string_view name, std::string& out) {
    for (char c : name)
        out.push_back((c == '\\' || c == '\t' || c == '\r' || c == '\n') ? '_' : c);
}

void AppendNumber(int64_t value, std::string& out) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

// TAB size TAB date TAB time: what follows the name of a file line or the path of a folder line
void AppendEntryFields(std::string& out, int64_t size, const LocalDateTime& modified,
                       std::string_view timeSeparator) {
    out.push_back('\t');
    AppendNumber(size, out);
    out.push_back('\t');
    AppendStoredDate(modified, out);
    out.push_back('\t');
    AppendStoredTime(modified, timeSeparator, out);
}

// Appends the lines of a folder's own files, moves its subfolders to folders and returns the
// total size of its files.
int64_t AppendFiles(std::vector<DirectoryEntry>& entries, const ScanOptions& options,
                    ScanLines& lines, std::vector<PendingFolder>& folders) {
    int64_t total = 0;
    for (DirectoryEntry& entry : entries) {
        if (entry.isFolder) {
            folders.push_back({std::move(entry.name), entry.modified});
            continue;
        }
        total += entry.size;
        if (options.foldersOnly)
            continue;
        std::string& out = lines.LineBuffer();
        AppendSafeName(entry.name, out);
        AppendEntryFields(out, entry.size, entry.modified, options.timeSeparator);
        lines.EndLine();
    }
    return total;
}

std::string SubfolderRelativePath(const std::string& relativePath, std::string_view name) {
    std::string subRelative = relativePath;
    AppendSafeName(name, subRelative);
    subRelative.push_back('\\');
    return subRelative;
}

std::string FolderLine(std::string relativePath, int64_t size, const LocalDateTime& modified,
                       const ScanOptions& options) {
    AppendEntryFields(relativePath, size, modified, options.timeSeparator);
    return relativePath;
}

// Folders listed by the walker as the walk reaches them.
class FoldersInOrder {
public:
    using Folder = std::string; // its native path, ending with the native separator
    explicit FoldersInOrder(DirectoryWalker& walker) : m_walker(walker) {}
    bool List(const Folder& folder, std::vector<DirectoryEntry>& entries) {
        return m_walker.ListFolder(folder, entries);
    }
    Folder Subfolder(const Folder& parent, size_t, const PendingFolder& sub) {
        return parent + sub.name + kNativeSeparator;
    }
    void Release(const Folder&) {}

private:
    DirectoryWalker& m_walker;
};

// Folders listed ahead of the walk, on other threads.
class FoldersAhead {
public:
    using Folder = LookaheadFolder*;
    explicit FoldersAhead(FolderLookahead& ahead) : m_ahead(ahead) {}
    bool List(Folder folder, std::vector<DirectoryEntry>& entries) {
        return m_ahead.Take(folder, entries);
    }
    Folder Subfolder(Folder parent, size_t i, const PendingFolder&) {
        return m_ahead.Subfolder(parent, i);
    }
    void Release(Folder folder) { m_ahead.Release(folder); }

private:
    FolderLookahead& m_ahead;
};

} // namespace

std::string ListSafeName(std::string_view name) {
    std::string out;
    AppendSafeName(name, out);
    return out;
}

FolderScan::FolderScan(DirectoryWalker& walker, ScanOptions options, ScanLines& lines)
    : m_walker(walker), m_options(std::move(options)), m_lines(lines) {}

int64_t FolderScan::ScanFolder(const std::string& path, const std::string& relativePath) {
    unsigned threads = m_options.threads;
    if (threads == 0)
        threads = std::thread::hardware_concurrency(); // 0 when unknown: one thread
    if (threads <= 1 || !m_walker.ListsConcurrently()) {
        FoldersInOrder inOrder(m_walker);
        return Walk(inOrder, path, relativePath);
    }
    FolderLookahead ahead(m_walker, path, threads - 1);
    FoldersAhead folders(ahead);
    const int64_t total = Walk(folders, ahead.Root(), relativePath);
    ahead.Release(ahead.Root());
    return total;
}

template <typename Source>
int64_t FolderScan::Walk(Source& source, const typename Source::Folder& folder,
                         const std::string& relativePath) {
    std::vector<PendingFolder> subfolders;
    int64_t total = 0;
    {
        // The enumeration ends before the first subfolder is entered, so one is open at a time.
        std::vector<DirectoryEntry> entries;
        if (!source.List(folder, entries))
            ++m_unreadableFolders;
        total = AppendFiles(entries, m_options, m_lines, subfolders);
    }
    for (size_t i = 0; i < subfolders.size(); ++i) {
        const size_t placeholder = m_lines.AppendPlaceholder();
        std::string subRelative = SubfolderRelativePath(relativePath, subfolders[i].name);
        const typename Source::Folder sub = source.Subfolder(folder, i, subfolders[i]);
        const int64_t subTotal = Walk(source, sub, subRelative);
        source.Release(sub);
        total += subTotal;
        m_lines.FillPlaceholder(placeholder, FolderLine(std::move(subRelative), subTotal,
                                                        subfolders[i].modified, m_options));
    }
    return total;
}

size_t BuildListLines(DirectoryWalker& walker, const std::string& root, const ScanOptions& options,
                      ScanLines& lines) {
    lines.Clear();
    const size_t header = lines.AppendPlaceholder();
    FolderScan scan(walker, options, lines);
    const int64_t total = scan.ScanFolder(root, std::string());
    std::string headerLine = root;
    headerLine.push_back('\t');
    AppendNumber(total, headerLine);
    lines.FillPlaceholder(header, std::move(headerLine));
    return scan.UnreadableFolders();
}

size_t CreateList(DirectoryWalker& walker, const std::string& root, const std::string& listFilePath,
                  const ScanOptions& options, ScanLines& lines) {
    const size_t unreadable = BuildListLines(walker, root, options, lines);
    SafeFileWriter writer(listFilePath);
    lines.WriteTo(writer);
    writer.Commit();
    return unreadable;
}

} // namespace vyp
