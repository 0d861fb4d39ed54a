#include "scan/FolderScan.h"

#include "lists/SafeFileWriter.h"
#include "lists/StoredDateTime.h"
#include "platform/Native.h"

#include <charconv>

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

} // namespace

std::string ListSafeName(std::string_view name) {
    std::string out;
    AppendSafeName(name, out);
    return out;
}

FolderScan::FolderScan(DirectoryWalker& walker, ScanOptions options, ScanLines& lines)
    : m_walker(walker), m_options(std::move(options)), m_lines(lines) {}

int64_t FolderScan::ScanFolder(const std::string& path, const std::string& relativePath) {
    int64_t total = 0;
    std::vector<PendingFolder> folders;
    {
        // The enumeration ends before the first subfolder is entered, so one is open at a time.
        std::vector<DirectoryEntry> entries;
        if (!m_walker.ListFolder(path, entries))
            ++m_unreadableFolders;
        for (DirectoryEntry& entry : entries) {
            if (entry.isFolder) {
                folders.push_back({std::move(entry.name), entry.modified});
                continue;
            }
            total += entry.size;
            if (m_options.foldersOnly)
                continue;
            std::string& out = m_lines.LineBuffer();
            AppendSafeName(entry.name, out);
            AppendEntryFields(out, entry.size, entry.modified, m_options.timeSeparator);
            m_lines.EndLine();
        }
    }
    for (const PendingFolder& folder : folders) {
        const size_t placeholder = m_lines.AppendPlaceholder();
        std::string subPath = path + folder.name + kNativeSeparator;
        std::string subRelative = relativePath;
        AppendSafeName(folder.name, subRelative);
        subRelative.push_back('\\');
        const int64_t sub = ScanFolder(subPath, subRelative);
        total += sub;
        std::string line = subRelative;
        AppendEntryFields(line, sub, folder.modified, m_options.timeSeparator);
        m_lines.FillPlaceholder(placeholder, std::move(line));
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
