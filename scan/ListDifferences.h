// Two lists compared entry by entry, by the comparison a rescan makes (ListComparison): what
// only the first list has, what only the second has, and the files in both whose size, date or
// time differ. Folders are compared by presence only. Lists in different encodings are compared
// by their decoded names. The differences are plain data, one packed record each, in the lists'
// pre-order: the first list's entries in its order, then what only the second has in its order.
#pragma once

#include "lists/PackedTexts.h"
#include "lists/RegionalSettings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

enum class DifferenceKind : uint8_t { OnlyInFirst, OnlyInSecond, Changed };

// "Jen v prvním", "Jen ve druhém", "Změněno".
std::string_view DifferenceKindText(DifferenceKind kind);

// Entries and the total of one of the lists compared.
struct ComparedListCounts {
    size_t folders = 0, files = 0;
    int64_t total = 0; // from its header
};

struct ComparisonSummary {
    size_t foldersOnlyInFirst = 0, foldersOnlyInSecond = 0;
    size_t filesOnlyInFirst = 0, filesOnlyInSecond = 0, filesChanged = 0;
    ComparedListCounts first, second;

    bool Same() const {
        return foldersOnlyInFirst + foldersOnlyInSecond + filesOnlyInFirst + filesOnlyInSecond +
                   filesChanged ==
               0;
    }
};

// The summary in the rescan's words, as if the second list were the first made again:
// "přidáno" is what only the second has, "odebráno" what only the first has.
std::vector<std::string> ComparisonSummaryLines(const ComparisonSummary& summary,
                                                const RegionalSettings& regional);

class ListDifferences {
public:
    // The two sides of a difference.
    enum Side { First = 0, Second = 1 };

    // Told now and then how many folders and files of the first list have been compared;
    // returns whether to go on.
    using Progress = std::function<bool(uint64_t folders, uint64_t files)>;

    // Handed the differences found since the last call, which are dropped after it: for
    // printing them as they are found rather than holding millions.
    using Pieces = std::function<void(const ListDifferences& found)>;

    // Reads both list files (side by side) and compares them. Throws VypisnikError "Cannot open
    // file "PATH". REASON" when one of them cannot be read. When progress asks to stop, returns
    // at once what it has so far, which is not all. With pieces given, every difference goes
    // to it, in order, and what is returned holds the summary alone.
    static ListDifferences Compare(const std::string& firstPath, const std::string& secondPath,
                                   const Progress& progress = {}, const Pieces& pieces = {});

    // A difference as the comparison meets it, its texts in the lists' own text (valid during
    // the call only): for whoever formats millions of them at once without holding them.
    struct Found {
        DifferenceKind kind;
        bool isFolder;
        // The path is a folder's name alone, else folder then name.
        std::string_view folder, name;
        // Size TAB date TAB time of either side, as stored; empty where the side lacks it.
        std::string_view firstFields, secondFields;
    };
    using Each = std::function<void(const Found& found)>;
    // Compares as Compare does and hands every difference to each, in the same order. Returns
    // false when progress asked to stop; summary then counts what was compared so far. The
    // texts a difference views are valid until allHanded (when given) returns: it is called
    // once the last difference was handed, for a caller that works on them elsewhere meanwhile.
    static bool CompareEach(const std::string& firstPath, const std::string& secondPath,
                            const Each& each, ComparisonSummary& summary,
                            const Progress& progress = {},
                            const std::function<void()>& allHanded = {});

    size_t Count() const { return m_kinds.size(); }
    DifferenceKind Kind(size_t i) const { return static_cast<DifferenceKind>(m_kinds[i] >> 1); }
    bool IsFolder(size_t i) const { return (m_kinds[i] & 1) != 0; }
    // A folder's relative path ("Games\Old\"), a file's folder path and name, a root file's name.
    std::string_view Path(size_t i) const { return m_texts.Field(i, 0); }
    // The folder to show the entry in: a folder's own path, a file's folder ("" for the root).
    std::string_view Folder(size_t i) const;
    // Size, date and time on one side as stored (the time with ":" as shown); empty where the
    // side lacks the entry.
    std::string_view SizeText(size_t i, Side side) const { return m_texts.Field(i, 1 + 3 * side); }
    std::string_view DateText(size_t i, Side side) const { return m_texts.Field(i, 2 + 3 * side); }
    std::string_view TimeText(size_t i, Side side) const { return m_texts.Field(i, 3 + 3 * side); }

    // Every text of a difference at once, for printing it whole: the path, then size, date and
    // time of the first side, then those of the second, as the getters above give them.
    std::array<std::string_view, 7> Texts(size_t i) const { return m_texts.Fields(i); }

    const ComparisonSummary& Summary() const { return m_summary; }

private:
    void Clear();
    void Add(DifferenceKind kind, bool isFolder, std::string_view folder, std::string_view name,
             std::string_view firstFields, std::string_view secondFields);

    PackedTexts<7> m_texts;       // path, then size, date and time of the first and the second
    std::vector<uint8_t> m_kinds; // the kind, shifted left, and 1 for a folder
    ComparisonSummary m_summary;
};

} // namespace vyp
