// The folder hierarchy of one list, read from its list file: one node per folder line, with
// its texts and its parent, in file order. The list tree builds its folder nodes from it and
// the command-line companion prints it.
//
// The texts of all nodes live in one buffer (decoded to UTF-8), so a list of a million folders
// costs its paths and a few dozen bytes per folder.
#pragma once

#include "lists/FolderLineTexts.h"
#include "lists/IncreasingOffsets.h"
#include "lists/ListRegionReader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

class FolderHierarchy {
public:
    static constexpr int32_t kListNode = -1; // parent of the list's top-level folders

    size_t Count() const { return m_texts.Count(); }
    // The folder line's first field, its relative path ending in "\".
    std::string_view Path(size_t i) const { return m_texts.Path(i); }
    // The folder's display name (its last path component).
    std::string_view Caption(size_t i) const;
    std::string SizeText(size_t i) const { return m_texts.SizeText(i); }
    std::string DateText(size_t i) const { return m_texts.DateText(i); }
    // The stored time with "." turned into ":".
    std::string TimeText(size_t i) const { return m_texts.TimeText(i); }
    // The index of the parent folder, always smaller than i, or kListNode; until ForgetParents.
    int32_t Parent(size_t i) const { return m_parents[i]; }
    // Drops the parents, for an owner that has put the folders into a tree of its own.
    void ForgetParents() { std::vector<int32_t>().swap(m_parents); }

    // The list's total: the header's text after its first TAB, "0" when it has none.
    const std::string& ListSizeText() const { return m_listSizeText; }

    // Set when the file could not be read; the hierarchy is then empty.
    const std::string& Error() const { return m_error; }

    // Where folder i's line starts in the list file, and what the file was like when it was
    // read: what a later read of the folder's rows can start from.
    FolderLineHint Hint(size_t i) const {
        return {static_cast<int64_t>(m_lineOffsets[i]), m_stamp, m_encoding};
    }
    // The encoding the list file was read in.
    TextEncoding Encoding() const { return m_encoding; }

    // Reads the list file at listPath, once. A folder line whose parent folder is missing hangs
    // under its nearest existing ancestor, else under the list node. Never throws: a file that
    // cannot be read gives an empty hierarchy with Error() set.
    static FolderHierarchy Read(const std::string& listPath);

private:
    class Builder;

    FolderLineTexts m_texts;
    std::vector<int32_t> m_parents;
    IncreasingOffsets m_lineOffsets;
    FileStamp m_stamp;
    TextEncoding m_encoding = TextEncoding::Utf8;
    std::string m_listSizeText = "0";
    std::string m_error;
};

} // namespace vyp
