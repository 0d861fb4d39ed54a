#include "lists/ListEntries.h"

#include "lists/LineScan.h"

#include <bit>
#include <cstring>

namespace vyp {

uint64_t ListEntries::NameHash(std::string_view name) {
    // A multiply-rotate over eight bytes at a time and MurmurHash3's finaliser.
    uint64_t h = 0x9E3779B97F4A7C15ULL ^ name.size();
    auto add = [&h](uint64_t word) {
        h = std::rotl(h ^ (word * 0x87C37B91114253D5ULL), 31) * 0x4CF5AD432745937FULL;
    };
    size_t i = 0;
    for (; i + 8 <= name.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, name.data() + i, 8);
        add(word);
    }
    if (i < name.size()) {
        uint64_t word = 0;
        std::memcpy(&word, name.data() + i, name.size() - i);
        add(word);
    }
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    return h ^ (h >> 33);
}

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
            m_folderEntries.push_back(i);
            m_folderHashes.push_back(NameHash(line.FirstField()));
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
