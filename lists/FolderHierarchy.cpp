#include "lists/FolderHierarchy.h"

#include "lists/Encoding.h"
#include "lists/Errors.h"
#include "lists/ListFile.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace vyp {

std::string_view FolderHierarchy::Text(size_t i, int field) const {
    const Node& node = m_nodes[i];
    size_t offset = node.offset;
    for (int f = 0; f < field; ++f)
        offset += node.length[f];
    return std::string_view(m_text).substr(offset, node.length[field]);
}

std::string_view FolderHierarchy::Caption(size_t i) const {
    return Path(i).substr(m_nodes[i].captionOffset, m_nodes[i].captionLength);
}

FolderHierarchy FolderHierarchy::Read(const std::string& listPath) {
    std::string bytes;
    try {
        bytes = ReadWholeFile(listPath);
    } catch (const VypisnikError& error) {
        FolderHierarchy hierarchy;
        hierarchy.m_error = error.what();
        return hierarchy;
    }
    return FromBytes(bytes);
}

FolderHierarchy FolderHierarchy::FromBytes(std::string_view bytes) {
    FolderHierarchy hierarchy;
    const TextEncoding encoding = DetectEncoding(bytes);
    LineReader reader(bytes);
    std::string_view line;
    if (!reader.Next(line))
        return hierarchy; // no header: a list without folders
    hierarchy.m_listSizeText = ToUtf8(HeaderTotal(line), encoding);

    // Parent lookup by raw path; the views point into bytes, which outlives the build.
    std::unordered_map<std::string_view, int32_t> nodeByPath;
    std::string& text = hierarchy.m_text;
    text.reserve(bytes.size() / 2);
    while (reader.Next(line)) {
        if (std::memchr(line.data(), '\\', line.size()) == nullptr)
            continue; // a file line
        const ListLineFields fields = SplitListLine(line);
        const std::string_view rawPath = fields.field[0];
        const std::string_view rawCaption = DisplayNameOf(rawPath);

        Node node{};
        node.offset = text.size();
        for (int f = 0; f < 4; ++f) {
            const size_t before = text.size();
            if (f < fields.count) {
                AppendAsUtf8(fields.field[f], encoding, text);
                if (f == 3)
                    std::replace(text.begin() + static_cast<std::ptrdiff_t>(before), text.end(), '.', ':');
            }
            node.length[f] = static_cast<uint32_t>(text.size() - before);
        }
        // The caption is a part of the path; find its place in the decoded path.
        const size_t rawCaptionStart = static_cast<size_t>(rawCaption.data() - rawPath.data());
        if (encoding == TextEncoding::Utf8) {
            node.captionOffset = static_cast<uint32_t>(rawCaptionStart);
            node.captionLength = static_cast<uint32_t>(rawCaption.size());
        } else {
            node.captionOffset = static_cast<uint32_t>(
                ToUtf8(rawPath.substr(0, rawCaptionStart), encoding).size());
            node.captionLength = static_cast<uint32_t>(ToUtf8(rawCaption, encoding).size());
        }

        // The parent path is the path without its last component; a top-level folder, or one
        // whose ancestors are all missing, hangs under the list node.
        node.parent = kListNode;
        std::string_view parentPath = rawPath.substr(0, rawCaptionStart);
        while (!parentPath.empty()) {
            const auto found = nodeByPath.find(parentPath);
            if (found != nodeByPath.end()) {
                node.parent = found->second;
                break;
            }
            parentPath = parentPath.substr(0, DisplayNameOf(parentPath).data() - parentPath.data());
        }
        const auto index = static_cast<int32_t>(hierarchy.m_nodes.size());
        hierarchy.m_nodes.push_back(node);
        nodeByPath[rawPath] = index;
    }
    return hierarchy;
}

} // namespace vyp
