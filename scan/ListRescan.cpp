#include "scan/ListRescan.h"

#include "lists/ListFile.h"
#include "lists/ListRegionReader.h"
#include "lists/ListText.h"
#include "lists/SettingsWriteLock.h"
#include "lists/SizeText.h"
#include "platform/Native.h"
#include "scan/FolderScan.h"
#include "scan/ListComparison.h"
#include "util/Errors.h"
#include "util/SafeFileWriter.h"

#include <cstdint>
#include <filesystem>

namespace vyp {

namespace {

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
    const ListText text(m_listFilePath); // an old list from Czech Windows settings decoded
    ListComparison old(text.Text());
    const std::string_view header = old.HeldHeader();
    m_root = std::string(FirstField(header));
    m_summary.oldEntries = old.HeldCount();
    // A list without file lines was made of folders alone, unless it has nothing to show: an
    // empty tree looks the same either way, and the whole scan is the usual choice.
    const auto oldTotal = TryParseSizeText(HeaderTotal(header));
    m_summary.foldersOnly = old.HeldFiles() == 0 && oldTotal.value_or(0) != 0;

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
    ListComparison::Met met;
    m_lines.ForEachLine([&](std::string_view line) {
        if (isHeader) {
            isHeader = false;
            m_summary.total = TryParseSizeText(HeaderTotal(line)).value_or(0);
            return;
        }
        if (!old.Meet(line, met))
            return;
        (met.isFolder ? m_summary.folders : m_summary.files) += 1;
        if (met.found == ListComparison::Found::Missing)
            (met.isFolder ? m_summary.foldersAdded : m_summary.filesAdded) += 1;
        else if (met.found == ListComparison::Found::Changed)
            (met.isFolder ? m_summary.foldersChanged : m_summary.filesChanged) += 1;
    });
    old.ForEachUnmet([&](const ListComparison::HeldEntry& entry) {
        (entry.isFolder ? m_summary.foldersRemoved : m_summary.filesRemoved) += 1;
    });
    m_ready = true;
    return Outcome::Ready;
}

void ListRescan::Commit() {
    const std::string name(ListCaption(std::filesystem::path(m_listFilePath).filename().string()));
    if (!m_ready)
        throw VypisnikError("Seznam \"" + name + "\" není připraven k obnovení.");
    SafeFileWriter writer(m_listFilePath);
    m_lines.WriteTo(writer);
    writer.Complete();
    // Checked and replaced under the lock that deleting a list takes too, so a list deleted
    // meanwhile is never written again without its group.
    const std::filesystem::path listFolder = std::filesystem::path(m_listFilePath).parent_path();
    const SettingsWriteLock lock((listFolder.parent_path() / kSettingsFileName).string());
    FileStamp now;
    InputFile file;
    if (file.Open(m_listFilePath, false) != 0 || file.Stamp(now) != 0 || now != m_stamp)
        throw VypisnikError("Seznam \"" + name +
                            "\" se mezitím změnil nebo byl smazán; zůstal, jak je. Obnovte jej "
                            "znovu.");
    file.Close();
    writer.Commit();
    m_ready = false;
}

} // namespace vyp
