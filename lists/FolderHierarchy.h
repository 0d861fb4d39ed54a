// The folder hierarchy of one list, read from its list file: one node per folder line, with
// its texts and its parent, in file order. The list tree builds its folder nodes from it and
// the command-line companion prints it.
//
// The texts of all nodes live in one buffer (decoded to UTF-8), so a list of a million folders
// costs a few dozen bytes per folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

class FolderHierarchy {
public:
    static constexpr int32_t kListNode = -1; // parent of the list's top-level folders

    size_t Count() const { return m_nodes.size(); }
    // The folder line's first field, its relative path ending in "\".
    std::string_view Path(size_t i) const { return Text(i, 0); }
    // The folder's display name (its last path component).
    std::string_view Caption(size_t i) const;
    std::string_view SizeText(size_t i) const { return Text(i, 1); }
    std::string_view DateText(size_t i) const { return Text(i, 2); }
    // The stored time with "." turned into ":".
    std::string_view TimeText(size_t i) const { return Text(i, 3); }
    // The index of the parent folder, always smaller than i, or kListNode.
    int32_t Parent(size_t i) const { return m_nodes[i].parent; }

    // The list's total: the header's text after its first TAB, "0" when it has none.
    const std::string& ListSizeText() const { return m_listSizeText; }

    // Set when the file could not be read; the hierarchy is then empty.
    const std::string& Error() const { return m_error; }

    // Reads the list file at listPath. A folder line whose parent folder is missing hangs under
    // its nearest existing ancestor, else under the list node. Never throws for a bad file.
    static FolderHierarchy Read(const std::string& listPath);
    // The same for list file contents already in memory.
    static FolderHierarchy FromBytes(std::string_view bytes);

private:
    class Builder;
    struct Node {
        size_t offset;          // of the path in m_text; the other fields follow it
        uint32_t length[4];     // path, size, date, time
        uint32_t captionOffset; // within the path
        uint32_t captionLength;
        int32_t parent;
    };
    std::string_view Text(size_t i, int field) const;

    std::string m_text;
    std::vector<Node> m_nodes;
    std::string m_listSizeText = "0";
    std::string m_error;
};

} // namespace vyp
