#include "lists/ListEntries.h"

#include "lists/LineScan.h"

namespace vyp {

ListEntries::ListEntries(std::string_view text) : m_text(text) {
    // Lines of real lists take some 40 bytes: room for them at once rather than by doubling.
    m_entries.reserve(text.size() / 40);
    bool header = true;
    uint32_t folder = kRootFiles; // whose files the lines are
    ForEachScannedLine(text, [&](const ScannedLine& line) {
        if (header) {
            m_header = line.Text();
            header = false;
            return;
        }
        if (line.begin == line.end)
            return;
        const auto i = static_cast<uint32_t>(m_entries.size());
        Entry entry{static_cast<uint64_t>(line.begin - text.data()),
                    static_cast<uint32_t>(line.FirstField().size()),
                    line.tab1 == nullptr ? 0U : static_cast<uint32_t>(line.end - line.tab1 - 1),
                    folder, 0};
        if (line.FirstFieldHasBackslash()) {
            entry.folder = kFolderLine;
            if (folder == kRootFiles)
                m_firstFolder = i;
            else
                m_entries[folder].next = i;
            folder = i;
            ++m_folders;
        }
        m_entries.push_back(entry);
    });
    const auto count = static_cast<uint32_t>(m_entries.size());
    if (folder == kRootFiles)
        m_firstFolder = count;
    else
        m_entries[folder].next = count;
}

} // namespace vyp
