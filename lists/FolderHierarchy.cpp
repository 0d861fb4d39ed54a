#include "lists/FolderHierarchy.h"

#include "lists/ListFile.h"
#include "lists/ListRegionReader.h"
#include "util/Errors.h"

#include <algorithm>
#include <cstring>

namespace vyp {

std::string_view FolderHierarchy::Caption(size_t i) const {
    return DisplayNameOf(Path(i));
}

// Builds a hierarchy from the regions of a list file: the folder lines' fields are kept as raw
// bytes, found through the "\" they hold, and decoded once the file's encoding is known.
class FolderHierarchy::Builder {
public:
    explicit Builder(FolderHierarchy& hierarchy) : m_h(hierarchy) {}

    void AddRegion(std::string_view lines, int64_t offset) {
        const char* p = lines.data();
        const char* end = p + lines.size();
        while (p < end) {
            const auto* slash =
                static_cast<const char*>(std::memchr(p, '\\', static_cast<size_t>(end - p)));
            if (slash == nullptr)
                break;
            const char* lineStart = LineStartBefore(lines.data(), slash);
            const char* lineEnd = LineEndAfter(slash, end);
            m_h.m_lineOffsets.Push(static_cast<uint64_t>(offset + (lineStart - lines.data())));
            AddFolderLine(std::string_view(lineStart, static_cast<size_t>(lineEnd - lineStart)));
            p = lineEnd;
        }
    }

    void Finish(TextEncoding encoding) {
        m_table = {};
        m_h.m_encoding = encoding;
        m_h.m_texts.Decode(encoding);
        m_h.m_texts.ShrinkToFit();
        m_h.m_parents.shrink_to_fit();
        m_h.m_lineOffsets.ShrinkToFit();
    }

private:
    void AddFolderLine(std::string_view line) {
        const ListLineFields fields = SplitListLine(line);
        m_h.m_texts.Add(fields);
        const size_t index = m_h.m_parents.size();
        const std::string_view path = fields.field[0]; // as Path(index) holds it until decoded
        const size_t captionOffset = static_cast<size_t>(DisplayNameOf(path).data() - path.data());

        // The parent is the folder of the path without its last component; a top-level folder,
        // or one whose ancestors are all missing, hangs under the nearest existing ancestor or
        // the list node. Every ancestor is a prefix ending in "\": the hashes of all prefixes come
        // from one pass over the path, so even a damaged line of thousands of "\" costs time in
        // proportion to its length, not to its square.
        int32_t parent = kListNode;
        m_prefixHashes.resize(path.size() + 1);
        m_prefixHashes[0] = 0;
        for (size_t k = 0; k < path.size(); ++k)
            m_prefixHashes[k + 1] = PrefixHash(m_prefixHashes[k], path[k]);
        for (size_t k = captionOffset; k > 0; --k) {
            if (path[k - 1] != '\\')
                continue;
            const int32_t found = Find(path.substr(0, k), m_prefixHashes[k]);
            if (found != kListNode) {
                parent = found;
                break;
            }
        }
        m_h.m_parents.push_back(parent);
        Remember(path, m_prefixHashes[path.size()], static_cast<int32_t>(index));
    }

    static uint64_t PrefixHash(uint64_t hash, char c) {
        return hash * 0x100000001B3ULL + static_cast<unsigned char>(c) + 1;
    }

    // The node whose path is path (hash: its PrefixHash), the last of that path; kListNode if none.
    int32_t Find(std::string_view path, uint64_t hash) const {
        if (m_table.empty())
            return kListNode;
        for (size_t slot = SlotOf(hash);; slot = (slot + 1) & (m_table.size() - 1)) {
            const Entry& entry = m_table[slot];
            if (entry.index == kListNode)
                return kListNode;
            if (entry.hash == hash && m_h.Path(static_cast<size_t>(entry.index)) == path)
                return entry.index;
        }
    }

    // Paths are kept by index, never by a view of the text, which may still move as it grows.
    void Remember(std::string_view path, uint64_t hash, int32_t index) {
        if (2 * (m_used + 1) > m_table.size())
            Grow();
        for (size_t slot = SlotOf(hash);; slot = (slot + 1) & (m_table.size() - 1)) {
            Entry& entry = m_table[slot];
            if (entry.index == kListNode) {
                entry = {hash, index};
                ++m_used;
                return;
            }
            if (entry.hash == hash && m_h.Path(static_cast<size_t>(entry.index)) == path) {
                entry.index = index; // a folder line repeated: the later one takes the children
                return;
            }
        }
    }

    // An open-addressed table in one block: it costs no allocation per folder, and all of it
    // goes back to the system once the hierarchy is built.
    struct Entry {
        uint64_t hash = 0;
        int32_t index = kListNode;
    };
    size_t SlotOf(uint64_t hash) const {
        return static_cast<size_t>((hash * 0x9E3779B97F4A7C15ULL) >> 20) & (m_table.size() - 1);
    }
    void Grow() {
        std::vector<Entry> old = std::move(m_table);
        m_table.assign(std::max<size_t>(1024, old.size() * 2), Entry{});
        for (const Entry& entry : old) {
            if (entry.index == kListNode)
                continue;
            size_t slot = SlotOf(entry.hash);
            while (m_table[slot].index != kListNode)
                slot = (slot + 1) & (m_table.size() - 1);
            m_table[slot] = entry;
        }
    }

    FolderHierarchy& m_h;
    std::vector<Entry> m_table;
    size_t m_used = 0;
    std::vector<uint64_t> m_prefixHashes; // of the folder line being added, reused
};

FolderHierarchy FolderHierarchy::Read(const std::string& listPath) {
    FolderHierarchy hierarchy;
    try {
        ListRegionReader reader(listPath);
        hierarchy.m_stamp = reader.Stamp();
        Builder builder(hierarchy);
        ListRegion region;
        while (reader.Next(region))
            builder.AddRegion(region.lines, region.offset);
        // The total is shown as text: it is decoded with the folders.
        hierarchy.m_listSizeText = ToUtf8(HeaderTotal(reader.Header()), reader.Encoding());
        builder.Finish(reader.Encoding());
    } catch (const VypisnikError& error) {
        hierarchy = FolderHierarchy();
        hierarchy.m_error = error.what();
    }
    return hierarchy;
}

} // namespace vyp
