// Compares the entries of two lists by where they lie: folders by their relative path, files by
// their folder's path and their name, the root's own files by their name. It is the one
// comparison of the program: a rescan compares a list with a new scan of its folder, and two
// lists are compared with each other, both through it.
//
// One list is held, taken apart once (ListEntries; its text must outlive this object). The
// other list's lines are then met one after another in their order, each found among the held
// entries or not, and alike or not in size, date and time (times apart from the separator they
// were stored with). The held entries that no line met are what the held list alone has. An
// entry repeated in a damaged list pairs with a repeat on the other side; a repeat without one
// is on one side alone.
//
// Lists compared are mostly alike and in the same order, so the two are walked in step: the
// held entry after the one met last is tried first, a comparison of bytes. Only where they part
// is an entry looked for elsewhere: a folder among the held folders (indexed on the first such
// need), a file among the held files of its folder (a run of lines, indexed when it is long).
#pragma once

#include "lists/ListEntries.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
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

    // Holds the lines of a list's text (UTF-8) after its header. Empty lines are no entries.
    explicit ListComparison(std::string_view heldText);
    // Holds a list taken apart already.
    explicit ListComparison(ListEntries held);

    // The held list's header line.
    std::string_view HeldHeader() const { return m_held.Header(); }
    size_t HeldCount() const { return m_held.Count(); }
    size_t HeldFolders() const { return m_held.Folders(); }
    size_t HeldFiles() const { return m_held.Files(); }

    // Meets the next line of the other list (after its header); false for an empty line, which
    // is no entry.
    bool Meet(std::string_view line, Met& met);
    // The same for a line taken apart by ForEachScannedLine.
    bool Meet(const ScannedLine& line, Met& met);
    // The same for entry i of the other list taken apart: entries are met in their order.
    void Meet(const ListEntries& list, uint32_t i, Met& met);

    // Calls f(const HeldEntry&) for every held entry that no line met, in the held list's order.
    template <typename F> void ForEachUnmet(F f) const {
        for (uint32_t i = 0; i < m_held.Count(); ++i) {
            if (m_met[i] == 0)
                f(HeldOf(i));
        }
    }

private:
    static constexpr uint32_t kNone = UINT32_MAX;
    static constexpr uint32_t kFolderLine = ListEntries::kFolderLine;
    static constexpr uint32_t kRootFiles = ListEntries::kRootFiles;
    // A folder's files are looked through for the first few that are not where the walk
    // expects them (a few microseconds even for thousands), and indexed only when there are
    // more: most folders of lists compared differ in a file or two.
    static constexpr uint32_t kLookedThrough = 8;

    // An index of some held entries by name: each slot the top half of the name's hash, then
    // the first entry of that name; repeats of a name lead on one to the next.
    struct NameIndex {
        std::vector<uint64_t> slots;
        std::unordered_map<uint32_t, uint32_t> repeats; // entry: the next of its name
    };

    // Meet once met.name, met.isFolder and met.fields are set.
    bool MeetSplit(Met& met);
    std::string_view NameOf(uint32_t i) const { return m_held.Name(i); }
    HeldEntry HeldOf(uint32_t i) const;
    bool Matches(uint32_t i, uint32_t parent, std::string_view name) const {
        return m_held[i].folder == parent && NameOf(i) == name;
    }
    // Indexes entries, given in the held list's order, with their names' hashes when known.
    void Index(const std::vector<uint32_t>& entries, const uint64_t* hashes,
               NameIndex& index) const;
    // The first entry of index named name that no line met yet, or kNone.
    uint32_t FindUnmet(const NameIndex& index, std::string_view name) const;
    // The first entry of parent and name that no line met yet, or kNone.
    uint32_t FindUnmet(uint32_t parent, std::string_view name);

    ListEntries m_held;
    std::vector<uint8_t> m_met; // by entry: 1 once a line met it
    bool m_foldersIndexed = false;
    NameIndex m_folders;
    uint32_t m_filesIndexed = kNone; // the folder whose files m_files indexes
    NameIndex m_files;
    uint32_t m_filesLookedIn = kNone;  // the folder whose files were looked through last
    uint32_t m_looksThrough = 0;       // how often
    uint32_t m_metFolder = kRootFiles; // the held entry of the folder met last (kNone: new)
    std::string_view m_metFolderName;
    uint32_t m_lastFound = kNone; // the held entry found last
};

} // namespace vyp
