#include "scan/NamedListCreation.h"

#include "lists/ListFile.h"
#include "lists/ListRegistry.h"
#include "lists/SettingsFile.h"
#include "lists/SettingsWriteLock.h"
#include "platform/Files.h"
#include "util/Errors.h"
#include "util/SafeFileWriter.h"

#include <mutex>

namespace vyp {

namespace {

// Passes the enumeration through and counts it for the progress hook, which may stop the scan
// between two folders. Folders may be listed on several threads at once when the walker allows
// it: the count and the hook are taken one thread at a time.
class CountingWalker final : public DirectoryWalker {
public:
    CountingWalker(DirectoryWalker& walker, const ScanProgressHook& progress)
        : m_walker(walker), m_progress(progress) {}

    bool ListFolder(const std::string& folderPath, std::vector<DirectoryEntry>& entries) override {
        const bool read = m_walker.ListFolder(folderPath, entries);
        size_t files = 0;
        for (const DirectoryEntry& entry : entries)
            files += entry.isFolder ? 0 : 1;
        const std::lock_guard lock(m_mutex);
        ++m_count.folders;
        m_count.files += files;
        if (m_progress && !m_progress(m_count))
            throw ListCreationStopped{};
        return read;
    }

    bool ListsConcurrently() const override { return m_walker.ListsConcurrently(); }

private:
    DirectoryWalker& m_walker;
    const ScanProgressHook& m_progress;
    std::mutex m_mutex;
    ScanCount m_count;
};

std::string GroupKey(std::string_view name) {
    return std::string(name) + std::string(kListExtension);
}

} // namespace

std::optional<std::string> NamedListProblem(const DataFolder& data, std::string_view name) {
    if (auto problem = ListNameProblem(name))
        return problem;
    return SettingsFile(data.SettingsPath()).NameProblem(kListsSection, GroupKey(name));
}

size_t CreateNamedList(const DataFolder& data, DirectoryWalker& walker, const NamedList& list,
                       ScanLines& lines, const ScanProgressHook& progress) {
    // Refused before anything is scanned: nothing may be written outside "Seznamy", and no list
    // may be left behind without its group.
    if (const auto problem = NamedListProblem(data, list.name))
        throw VypisnikError(*problem);
    MakeFolder(data.ListFolder()); // one that cannot be made fails the write below, with its reason

    CountingWalker counting(walker, progress);
    const size_t unreadable = BuildListLines(counting, list.root, list.options, lines);

    // The list is written to its temporary file outside the lock, which is held only while the
    // list and its group change together: the group is recorded, then the list replaces the
    // old one; when it cannot, the group is put back. Whatever runs beside it, a list and its
    // group entry are either both new or both as they were.
    SafeFileWriter writer(data.ListFilePath(list.name));
    lines.WriteTo(writer);
    writer.Complete();
    const SettingsWriteLock lock(data.SettingsPath());
    if (!list.replaceExisting && KindOfPath(data.ListFilePath(list.name)) != PathKind::Missing)
        throw VypisnikError(std::string(kListExistsText));
    const std::string key = GroupKey(list.name);
    SettingsFile settings(data.SettingsPath());
    const std::optional<std::string> groupBefore = settings.ReadString(kListsSection, key);
    settings.WriteInteger(kListsSection, key, list.group);
    try {
        writer.Commit();
    } catch (const VypisnikError&) {
        try {
            settings.Write({{std::string(kListsSection), key,
                             groupBefore ? ParseSettingsInteger(*groupBefore) : std::nullopt}});
        } catch (const VypisnikError&) {
            // The error being reported already says that the list was not written.
        }
        throw;
    }
    return unreadable;
}

std::string UnreadableFoldersText(size_t unreadable) {
    return "Seznam je vytvořen, ale " + std::to_string(unreadable) +
           " složek se nepodařilo přečíst (přístup odepřen nebo příliš dlouhá cesta); jsou v něm "
           "s velikostí 0 a bez obsahu.";
}

} // namespace vyp
