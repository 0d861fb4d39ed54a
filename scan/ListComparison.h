// Compares the entries of two lists by where they lie: folders by their relative path, files by
// their folder's path and their name, the root's own files by their name. It is the one
// comparison of the program: a rescan compares a list with a new scan of its folder, and two
// lists are compared with each other, both through it.
//
// One list is held: its lines are indexed once, by where they lie in its text, which must
// outlive this object; 29 bytes a line and no allocation per line. The other list's lines are then
// met one after another in their order, each found among the held entries or not, and alike or not
// in size, date and time (times apart from the separator they were stored with). The held entries
// that no line met are what the held list alone has. An entry repeated in a damaged list pairs
// with a repeat on the other side, in their order; a repeat without one is on one side alone.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vyp {

struct ScannedLine;

class ListComparison {
public:
    // A line of the met list, as the held list knows it.
    enum class Found {
        Missing, // the held list has no such entry
        Same,    // the held entry has the same size, date and time
        Changed, // it differs in size, date or time
    };
    struct Met {
        bool isFolder = false;
        Found found = Found::Missing;
        // The line's relative path (folder) or name (file), and the folder whose files follow
        // (empty for the root's own files).
        std::string_view name, folder;
        // Size TAB date TAB time, as the two lists store them; empty for a missing entry.
        std::string_view fields, heldFields;
    };
    struct HeldEntry {
        bool isFolder = false;
        std::string_view name, folder, fields;
    };

    // Holds the lines of a list's text (UTF-8) after its header and makes them findable. Empty
    // lines are no entries.
    explicit ListComparison(std::string_view heldText);

    // The held list's header line.
    std::string_view HeldHeader() const { return m_header; }
    size_t HeldCount() const { return m_entries.size(); }
    size_t HeldFolders() const { return m_heldFolders; }
    size_t HeldFiles() const { return m_entries.size() - m_heldFolders; }

    // Meets the next line of the other list (after its header); false for an empty line, which
    // is no entry.
    bool Meet(std::string_view line, Met& met);
    // The same for a line taken apart by ForEachScannedLine.
    bool Meet(const ScannedLine& line, Met& met);

    // Calls f(const HeldEntry&) for every held entry that no line met, in the held list's order.
    template <typename F> void ForEachUnmet(F f) const {
        for (uint32_t i = 0; i < m_entries.size(); ++i) {
            if (m_met[i] == 0)
                f(HeldOf(i));
        }
    }

private:
    static constexpr uint32_t kNone = UINT32_MAX;
    static constexpr uint32_t kFolderLine = UINT32_MAX - 1; // the parent of a folder's entry
    static constexpr uint32_t kRootFiles = UINT32_MAX - 2;  // the parent of the root's files

    struct Entry {
        uint64_t start;        // of the line in the held text
        uint32_t nameLength;   // a folder's relative path or a file's name, first in the line
        uint32_t fieldsLength; // size TAB date TAB time, after the name and a TAB
        uint32_t parent;       // kFolderLine, kRootFiles or the index of the file's folder
        uint32_t repeat;       // the next entry of the same parent and name, or kNone
    };

    void Hold(const ScannedLine& line);
    // Meet once met.name, met.isFolder and met.fields are set.
    bool MeetSplit(Met& met);
    void Index();
    std::string_view NameOf(uint32_t i) const {
        return m_text.substr(m_entries[i].start, m_entries[i].nameLength);
    }
    std::string_view FieldsOf(uint32_t i) const {
        const Entry& entry = m_entries[i];
        return entry.fieldsLength == 0
                   ? std::string_view()
                   : m_text.substr(entry.start + entry.nameLength + 1, entry.fieldsLength);
    }
    HeldEntry HeldOf(uint32_t i) const;
    static uint64_t HashOf(uint32_t parent, std::string_view name);
    // A slot of the index: the top half of the entry's hash, then the entry.
    static constexpr uint64_t kEmptySlot = UINT64_MAX;
    static uint32_t TagOf(uint64_t slot) { return static_cast<uint32_t>(slot >> 32); }
    static uint32_t EntryOf(uint64_t slot) { return static_cast<uint32_t>(slot); }
    bool Matches(uint32_t i, uint32_t parent, std::string_view name) const {
        return m_entries[i].parent == parent && NameOf(i) == name;
    }
    // The first entry of parent and name that no line met yet, or kNone.
    uint32_t FindUnmet(uint32_t parent, std::string_view name) const;

    std::string_view m_text;
    std::string_view m_header;
    std::vector<Entry> m_entries;
    std::vector<uint8_t> m_met; // by entry: 1 once a line met it
    std::vector<uint64_t> m_slots;
    size_t m_heldFolders = 0;
    uint32_t m_heldFolder = kRootFiles; // the folder whose files the held lines are
    uint32_t m_metFolder = kRootFiles;  // the held entry of the folder met last (kNone: new)
    std::string_view m_metFolderName;
    uint32_t m_lastFound = kNone; // the held entry found last
};

} // namespace vyp
