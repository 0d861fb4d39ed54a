#include "lists/FolderHierarchy.h"

#include "lists/Encoding.h"
#include "lists/Errors.h"
#include "lists/ListFile.h"
#include "lists/ListFileStream.h"
#include "lists/PackedFields.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace vyp {

std::string_view FolderHierarchy::Text(size_t i, int field) const {
    const auto& node = m_nodes[i];
    return PackedField(m_text, node.offset, node.length, static_cast<size_t>(field));
}

std::string_view FolderHierarchy::Caption(size_t i) const {
    return Path(i).substr(m_nodes[i].captionOffset, m_nodes[i].captionLength);
}

// Builds a hierarchy from the pieces of a list file: the folder lines' fields are kept as raw
// bytes, found through the "\" they hold, and decoded once the file's encoding is known.
class FolderHierarchy::Builder {
public:
    explicit Builder(FolderHierarchy& hierarchy, size_t expectedSize) : m_h(hierarchy) {
        m_h.m_text.reserve(expectedSize); // a guess only: the text may still have to grow
    }

    void AddRegion(std::string_view region) {
        const char* p = region.data();
        const char* end = p + region.size();
        if (!m_headerDone) {
            m_headerDone = true;
            const char* headerEnd = LineEndAfter(p, end);
            m_h.m_listSizeText.assign(
                HeaderTotal(std::string_view(p, static_cast<size_t>(headerEnd - p))));
            p = headerEnd;
        }
        const char* floor = p;
        while (p < end) {
            const auto* slash =
                static_cast<const char*>(std::memchr(p, '\\', static_cast<size_t>(end - p)));
            if (slash == nullptr)
                break;
            const char* lineStart = LineStartBefore(floor, slash);
            const char* lineEnd = LineEndAfter(slash, end);
            AddFolderLine(std::string_view(lineStart, static_cast<size_t>(lineEnd - lineStart)));
            p = lineEnd;
        }
    }

    void Finish(TextEncoding encoding) {
        if (encoding == TextEncoding::Windows1250)
            Decode();
        for (size_t i = 0; i < m_h.m_nodes.size(); ++i) {
            Node& node = m_h.m_nodes[i];
            std::replace(
                m_h.m_text.begin() + static_cast<std::ptrdiff_t>(node.offset + node.length[0] +
                                                                 node.length[1] + node.length[2]),
                m_h.m_text.begin() +
                    static_cast<std::ptrdiff_t>(node.offset + node.length[0] + node.length[1] +
                                                node.length[2] + node.length[3]),
                '.', ':');
        }
    }

private:
    void AddFolderLine(std::string_view line) {
        const ListLineFields fields = SplitListLine(line);
        std::string& text = m_h.m_text;
        Node node{};
        node.offset = text.size();
        for (int f = 0; f < 4; ++f) {
            const std::string_view field = f < fields.count ? fields.field[f] : std::string_view();
            text.append(field);
            node.length[f] = static_cast<uint32_t>(field.size());
        }
        const std::string_view path(text.data() + node.offset, node.length[0]);
        const std::string_view caption = DisplayNameOf(path);
        node.captionOffset = static_cast<uint32_t>(caption.data() - path.data());
        node.captionLength = static_cast<uint32_t>(caption.size());

        // The parent is the folder of the path without its last component; a top-level folder,
        // or one whose ancestors are all missing, hangs under the nearest existing ancestor or
        // the list node. Every ancestor is a prefix ending in "\": the hashes of all prefixes come
        // from one pass over the path, so even a damaged line of thousands of "\" costs time in
        // proportion to its length, not to its square.
        node.parent = kListNode;
        m_prefixHashes.resize(path.size() + 1);
        m_prefixHashes[0] = 0;
        for (size_t k = 0; k < path.size(); ++k)
            m_prefixHashes[k + 1] = PrefixHash(m_prefixHashes[k], path[k]);
        for (size_t k = node.captionOffset; k > 0; --k) {
            if (path[k - 1] != '\\')
                continue;
            const int32_t found = Find(path.substr(0, k), m_prefixHashes[k]);
            if (found != kListNode) {
                node.parent = found;
                break;
            }
        }
        const auto index = static_cast<int32_t>(m_h.m_nodes.size());
        m_h.m_nodes.push_back(node);
        Remember(path, m_prefixHashes[path.size()], index);
    }

    static uint64_t PrefixHash(uint64_t hash, char c) {
        return hash * 0x100000001B3ULL + static_cast<unsigned char>(c) + 1;
    }

    // The node whose path is path (hash: its PrefixHash), the last of that path; kListNode if none.
    int32_t Find(std::string_view path, uint64_t hash) const {
        const auto [first, last] = m_nodeByHash.equal_range(hash);
        for (auto it = first; it != last; ++it) {
            if (m_h.Path(static_cast<size_t>(it->second)) == path)
                return it->second;
        }
        return kListNode;
    }

    // Paths are kept by index, never by a view of the text, which may still move as it grows.
    void Remember(std::string_view path, uint64_t hash, int32_t index) {
        const auto [first, last] = m_nodeByHash.equal_range(hash);
        for (auto it = first; it != last; ++it) {
            if (m_h.Path(static_cast<size_t>(it->second)) == path) {
                it->second = index; // a folder line repeated: the later one takes the children
                return;
            }
        }
        m_nodeByHash.emplace(hash, index);
    }

    // Re-reads every text as Windows-1250.
    void Decode() {
        m_nodeByHash.clear();
        std::string decoded;
        decoded.reserve(m_h.m_text.size() + m_h.m_text.size() / 8);
        for (size_t i = 0; i < m_h.m_nodes.size(); ++i) {
            Node& node = m_h.m_nodes[i];
            const std::string_view path = m_h.Path(i);
            const size_t captionOffset =
                ToUtf8(path.substr(0, node.captionOffset), TextEncoding::Windows1250).size();
            const size_t captionLength = ToUtf8(m_h.Caption(i), TextEncoding::Windows1250).size();
            const size_t offset = decoded.size();
            uint32_t lengths[4];
            for (int f = 0; f < 4; ++f) {
                const size_t before = decoded.size();
                AppendAsUtf8(m_h.Text(i, f), TextEncoding::Windows1250, decoded);
                lengths[f] = static_cast<uint32_t>(decoded.size() - before);
            }
            node.offset = offset;
            std::copy(lengths, lengths + 4, node.length);
            node.captionOffset = static_cast<uint32_t>(captionOffset);
            node.captionLength = static_cast<uint32_t>(captionLength);
        }
        m_h.m_text = std::move(decoded);
        m_h.m_listSizeText = ToUtf8(m_h.m_listSizeText, TextEncoding::Windows1250);
    }

    FolderHierarchy& m_h;
    bool m_headerDone = false;
    std::unordered_multimap<uint64_t, int32_t> m_nodeByHash;
    std::vector<uint64_t> m_prefixHashes; // of the folder line being added, reused
};

FolderHierarchy FolderHierarchy::Read(const std::string& listPath) {
    FolderHierarchy hierarchy;
    try {
        ListFileStream stream(listPath, true);
        Builder builder(hierarchy, 0);
        std::string_view region;
        while (stream.NextRegion(region))
            builder.AddRegion(region);
        builder.Finish(stream.Encoding());
    } catch (const VypisnikError& error) {
        hierarchy = FolderHierarchy();
        hierarchy.m_error = error.what();
    }
    return hierarchy;
}

FolderHierarchy FolderHierarchy::FromBytes(std::string_view bytes) {
    FolderHierarchy hierarchy;
    Builder builder(hierarchy, bytes.size());
    builder.AddRegion(bytes);
    builder.Finish(DetectEncoding(bytes));
    return hierarchy;
}

} // namespace vyp
