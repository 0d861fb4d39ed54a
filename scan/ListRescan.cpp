#include "scan/ListRescan.h"

#include "lists/ListFile.h"
#include "lists/ListRegionReader.h"
#include "lists/SizeText.h"
#include "platform/Native.h"
#include "scan/FolderScan.h"
#include "util/Encoding.h"
#include "util/Errors.h"
#include "util/SafeFileWriter.h"

#include <bit>
#include <cstdint>
#include <filesystem>

namespace vyp {

namespace {

constexpr uint32_t kNone = UINT32_MAX;
constexpr uint32_t kFolderLine = UINT32_MAX - 1; // the parent of a folder line's entry
constexpr uint32_t kRootFiles = UINT32_MAX - 2;  // the parent of the root's own files

// The entries of the old list, found by a folder's relative path or by a file's folder and
// name. Texts are views into the old list's bytes; one open-addressed table of indexes, so a
// list of millions of lines costs a few words per line and no allocation per line.
class OldEntries {
public:
    struct Entry {
        std::string_view name;   // a folder's relative path or a file's name
        std::string_view fields; // size TAB date TAB time
        uint32_t parent;         // kFolderLine, kRootFiles or the index of the file's folder
        bool seen = false;
    };

    uint32_t Add(uint32_t parent, std::string_view name, std::string_view fields) {
        m_entries.push_back({name, fields, parent});
        return static_cast<uint32_t>(m_entries.size() - 1);
    }

    // Makes the entries findable. A repeated entry (a damaged list) stays unfindable and so
    // counts as removed.
    void Index() {
        m_slots.assign(std::bit_ceil(m_entries.size() * 2 + 2), kNone);
        for (uint32_t i = 0; i < m_entries.size(); ++i) {
            size_t slot = SlotOf(m_entries[i].parent, m_entries[i].name);
            while (m_slots[slot] != kNone &&
                   !Matches(m_slots[slot], m_entries[i].parent, m_entries[i].name))
                slot = (slot + 1) & (m_slots.size() - 1);
            if (m_slots[slot] == kNone)
                m_slots[slot] = i;
        }
    }

    uint32_t Find(uint32_t parent, std::string_view name) const {
        for (size_t slot = SlotOf(parent, name);; slot = (slot + 1) & (m_slots.size() - 1)) {
            if (m_slots[slot] == kNone || Matches(m_slots[slot], parent, name))
                return m_slots[slot];
        }
    }

    Entry& operator[](uint32_t i) { return m_entries[i]; }
    const std::vector<Entry>& All() const { return m_entries; }

private:
    size_t SlotOf(uint32_t parent, std::string_view name) const {
        const size_t hash = std::hash<std::string_view>{}(name) ^
                            (static_cast<size_t>(parent) * 0x9E3779B97F4A7C15ull);
        return (hash ^ (hash >> 29)) & (m_slots.size() - 1);
    }
    bool Matches(uint32_t i, uint32_t parent, std::string_view name) const {
        return m_entries[i].parent == parent && m_entries[i].name == name;
    }

    std::vector<Entry> m_entries;
    std::vector<uint32_t> m_slots;
};

bool IsFolderLine(std::string_view firstField) {
    return firstField.find('\\') != std::string_view::npos;
}

// Splits a line at its first TAB: the first field and everything after it.
void SplitFirstField(std::string_view line, std::string_view& first, std::string_view& rest) {
    const size_t tab = line.find('\t');
    first = line.substr(0, tab);
    rest = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
}

// Size, date and time alike. Times compare apart from their separator, which follows the
// regional settings of whoever made the list ("9:29.58" and "9.29.58" are the same time).
bool SameFields(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    const auto isSeparator = [](char c) {
        return c != '\t' && (c < '0' || c > '9');
    };
    int tabs = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) {
            tabs += a[i] == '\t';
            continue;
        }
        if (tabs < 2 || !isSeparator(a[i]) || !isSeparator(b[i]))
            return false;
    }
    return true;
}

// Stands between the scan and the real walker: counts what was read for the progress hook and
// stops the scan when the root cannot be opened or the hook says so.
class WatchedWalker final : public DirectoryWalker {
public:
    struct RootUnavailable {};
    struct Cancelled {};

    WatchedWalker(DirectoryWalker& inner, const RescanProgressHook& hook)
        : m_inner(inner), m_hook(hook) {}

    bool ListFolder(const std::string& folderPath, std::vector<DirectoryEntry>& entries) override {
        const bool listed = m_inner.ListFolder(folderPath, entries);
        if (!listed && m_progress.folders == 0)
            throw RootUnavailable{};
        ++m_progress.folders;
        for (const DirectoryEntry& entry : entries)
            m_progress.files += entry.isFolder ? 0 : 1;
        if (m_hook && !m_hook(m_progress))
            throw Cancelled{};
        return listed;
    }

private:
    DirectoryWalker& m_inner;
    const RescanProgressHook& m_hook;
    RescanProgress m_progress;
};

} // namespace

ListRescan::ListRescan(std::string listFilePath) : m_listFilePath(std::move(listFilePath)) {}

ListRescan::Outcome ListRescan::Prepare(DirectoryWalker& walker, std::string timeSeparator,
                                        const RescanProgressHook& progress) {
    m_ready = false;
    m_summary = {};
    m_lines.Clear();

    m_stamp = {};
    OpenForReading(m_listFilePath).Stamp(m_stamp);
    std::string bytes = ReadWholeFile(m_listFilePath);
    if (!IsValidUtf8(bytes)) // an old list from Czech Windows settings
        bytes = ToUtf8(bytes, TextEncoding::Windows1250);

    LineReader reader(bytes);
    std::string_view header;
    reader.Next(header);
    m_root = std::string(FirstField(header));
    OldEntries old;
    bool hasFileLines = false;
    uint32_t folder = kRootFiles;
    for (std::string_view line; reader.Next(line);) {
        if (line.empty())
            continue;
        std::string_view name, fields;
        SplitFirstField(line, name, fields);
        if (IsFolderLine(name)) {
            folder = old.Add(kFolderLine, name, fields);
        } else {
            old.Add(folder, name, fields);
            hasFileLines = true;
        }
    }
    old.Index();
    m_summary.oldEntries = old.All().size();
    // A list without file lines was made of folders alone, unless it has nothing to show: an
    // empty tree looks the same either way, and the whole scan is the usual choice.
    const auto oldTotal = TryParseSizeText(HeaderTotal(header));
    m_summary.foldersOnly = !hasFileLines && oldTotal.value_or(0) != 0;

    // A root of another system ("E:\" here) would be taken as a folder below the current one.
    if (!std::filesystem::path(m_root).is_absolute())
        return Outcome::RootUnavailable;
    if (m_root.back() != kNativeSeparator)
        m_root.push_back(kNativeSeparator);
    WatchedWalker watched(walker, progress);
    try {
        m_summary.unreadableFolders = BuildListLines(
            watched, m_root, {m_summary.foldersOnly, std::move(timeSeparator)}, m_lines);
    } catch (const WatchedWalker::RootUnavailable&) {
        m_lines.Clear();
        return Outcome::RootUnavailable;
    } catch (const WatchedWalker::Cancelled&) {
        m_lines.Clear();
        return Outcome::Cancelled;
    }

    bool isHeader = true;
    uint32_t oldFolder = kRootFiles; // the old entry of the folder whose files follow
    m_lines.ForEachLine([&](std::string_view line) {
        std::string_view name, fields;
        SplitFirstField(line, name, fields);
        if (isHeader) {
            isHeader = false;
            m_summary.total = TryParseSizeText(fields).value_or(0);
            return;
        }
        const bool isFolder = IsFolderLine(name);
        (isFolder ? m_summary.folders : m_summary.files) += 1;
        // The files of a folder that is new are new, without looking them up.
        const uint32_t found = isFolder             ? old.Find(kFolderLine, name)
                               : oldFolder != kNone ? old.Find(oldFolder, name)
                                                    : kNone;
        if (isFolder)
            oldFolder = found;
        if (found == kNone) {
            (isFolder ? m_summary.foldersAdded : m_summary.filesAdded) += 1;
            return;
        }
        old[found].seen = true;
        if (!SameFields(old[found].fields, fields))
            (isFolder ? m_summary.foldersChanged : m_summary.filesChanged) += 1;
    });
    for (const OldEntries::Entry& entry : old.All()) {
        if (!entry.seen)
            (entry.parent == kFolderLine ? m_summary.foldersRemoved : m_summary.filesRemoved) += 1;
    }
    m_ready = true;
    return Outcome::Ready;
}

void ListRescan::Commit() {
    const std::string name(ListCaption(std::filesystem::path(m_listFilePath).filename().string()));
    if (!m_ready)
        throw VypisnikError("Seznam \"" + name + "\" není připraven k obnovení.");
    FileStamp now;
    InputFile file;
    if (file.Open(m_listFilePath, false) != 0 || file.Stamp(now) != 0 || now != m_stamp)
        throw VypisnikError("Seznam \"" + name +
                            "\" se mezitím změnil nebo byl smazán; zůstal, jak je. Obnovte jej "
                            "znovu.");
    file.Close();
    SafeFileWriter writer(m_listFilePath);
    m_lines.WriteTo(writer);
    writer.Commit();
    m_ready = false;
}

} // namespace vyp
