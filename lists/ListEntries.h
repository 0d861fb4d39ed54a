// A list's text taken apart once into its entries: for every line after the header that is not
// empty, where it starts, how long its first field is (a folder's relative path, a file's name)
// and the fields after it (size TAB date TAB time), and the folder line whose files it is among.
// 24 bytes an entry, no allocation per line; the text must outlive it. The entries of a folder
// line's own files follow it, up to the next folder line: a folder's files are one run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vyp {

class ListEntries {
public:
    static constexpr uint32_t kFolderLine = UINT32_MAX - 1; // the folder of a folder's entry
    static constexpr uint32_t kRootFiles = UINT32_MAX - 2;  // the folder of the root's files

    struct Entry {
        uint64_t start;        // of the line in the text
        uint32_t nameLength;   // of the first field
        uint32_t fieldsLength; // of what follows the first TAB; 0 where the line has no TAB
        uint32_t folder;       // kFolderLine, kRootFiles or the entry of the file's folder
        uint32_t next;         // of a folder's entry: the next folder's entry, or Count()
    };

    // A hash of a name (a folder's path, a file's name) that spreads names well: names found by
    // it are compared after.
    static uint64_t NameHash(std::string_view name);

    // Takes text (UTF-8) apart: its first line is the header.
    explicit ListEntries(std::string_view text);

    std::string_view Header() const { return m_header; }
    size_t Count() const { return m_entries.size(); }
    size_t Folders() const { return m_folderEntries.size(); }
    size_t Files() const { return m_entries.size() - m_folderEntries.size(); }

    const Entry& operator[](uint32_t i) const { return m_entries[i]; }
    bool IsFolder(uint32_t i) const { return m_entries[i].folder == kFolderLine; }
    std::string_view Name(uint32_t i) const {
        return m_text.substr(m_entries[i].start, m_entries[i].nameLength);
    }
    // The line without its line end: its name, and its TAB and fields where it has them.
    std::string_view Line(uint32_t i) const {
        const Entry& entry = m_entries[i];
        return m_text.substr(
            entry.start, entry.nameLength + (entry.fieldsLength == 0 ? 0 : entry.fieldsLength + 1));
    }
    // Size TAB date TAB time, as stored; empty where the line has no TAB.
    std::string_view Fields(uint32_t i) const {
        const Entry& entry = m_entries[i];
        return entry.fieldsLength == 0
                   ? std::string_view()
                   : m_text.substr(entry.start + entry.nameLength + 1, entry.fieldsLength);
    }
    // The folders' entries in their order, and the NameHash of each one's path: hashed while
    // the line is at hand, for an index of them made later.
    const std::vector<uint32_t>& FolderEntries() const { return m_folderEntries; }
    const std::vector<uint64_t>& FolderHashes() const { return m_folderHashes; }
    // The first folder's entry, which ends the root's own files (Count() without folders).
    uint32_t FirstFolder() const { return m_firstFolder; }
    // The entries of the files of folder (an entry of a folder line, or kRootFiles): [begin, end).
    void FilesOf(uint32_t folder, uint32_t& begin, uint32_t& end) const {
        if (folder == kRootFiles) {
            begin = 0;
            end = m_firstFolder;
        } else {
            begin = folder + 1;
            end = m_entries[folder].next;
        }
    }

private:
    std::string_view m_text;
    std::string_view m_header;
    std::vector<Entry> m_entries;
    std::vector<uint32_t> m_folderEntries;
    std::vector<uint64_t> m_folderHashes;
    uint32_t m_firstFolder = 0;
};

} // namespace vyp
