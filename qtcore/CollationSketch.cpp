#include "qtcore/CollationSketch.h"

#include "lists/ListFile.h"
#include "platform/ParallelInOrder.h"
#include "qtcore/FolderNumbers.h"
#include "util/ChildrenByParent.h"
#include "util/Utf8Decoding.h"

#include <QString>

#include <algorithm>
#include <cstring>

namespace vyp {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The character at text[at], moving at past it; a byte that starts no valid sequence stands for
// U+FFFD on its own, as the collator would see it after decoding.
inline char32_t CharacterAt(std::string_view text, size_t& at) {
    char32_t character = 0;
    const size_t length = DecodeUtf8(text, at, character);
    if (length == 0) {
        ++at;
        return kReplacement;
    }
    at += length;
    return character;
}

// How many bytes a and b share at their start, compared eight at a time.
size_t SharedBytes(std::string_view a, std::string_view b) {
    const size_t shorter = std::min(a.size(), b.size());
    size_t at = 0;
    for (; at + 8 <= shorter; at += 8) {
        uint64_t x = 0, y = 0;
        std::memcpy(&x, a.data() + at, 8);
        std::memcpy(&y, b.data() + at, 8);
        if (x != y)
            break;
    }
    while (at < shorter && a[at] == b[at])
        ++at;
    return at;
}

struct CharactersSeen {
    std::vector<uint8_t> basic = std::vector<uint8_t>(0x10000, 0); // by code point
    std::vector<char32_t> supplementary;
};

// Notes every character of the names in all, read in parts side by side (one part: on this
// thread alone).
template <typename Names>
void NoteCharactersOf(const Names& names, CharactersSeen& all, bool inParts = true) {
    const size_t parts = names.size() < 20000 || !inParts ? 1 : WorkerCount();
    ParallelInOrder<CharactersSeen>(
        parts,
        [&](size_t part) {
            CharactersSeen seen;
            const size_t begin = names.size() * part / parts;
            for (size_t i = begin; i < names.size() * (part + 1) / parts; ++i) {
                const std::string_view name = names[i];
                // Paths of one folder mostly come together: the bytes a name shares with the one
                // before hold no character not seen already, up to the last ASCII byte among
                // them (what follows it decodes the same way in both, or may not: "\xC3" at the
                // end of one name, "\xC3\xA9" in the other).
                size_t at = 0;
                if (i > begin) {
                    at = SharedBytes(names[i - 1], name);
                    while (at > 0 && static_cast<unsigned char>(name[at - 1]) >= 0x80)
                        --at;
                }
                while (at < name.size()) {
                    if (static_cast<unsigned char>(name[at]) < 0x80) {
                        seen.basic[static_cast<unsigned char>(name[at++])] = 1;
                        continue;
                    }
                    const char32_t character = CharacterAt(name, at);
                    if (character < 0x10000)
                        seen.basic[character] = 1;
                    else
                        seen.supplementary.push_back(character);
                }
            }
            return seen;
        },
        [&](size_t, CharactersSeen&& seen) {
            for (size_t character = 0; character < all.basic.size(); ++character)
                all.basic[character] |= seen.basic[character];
            all.supplementary.insert(all.supplementary.end(), seen.supplementary.begin(),
                                     seen.supplementary.end());
        });
}

// The characters noted, in code point order, each once.
std::vector<char32_t> CharactersIn(CharactersSeen& all) {
    std::vector<char32_t> characters;
    for (char32_t character = 0; character < 0x10000; ++character)
        if (all.basic[character] != 0)
            characters.push_back(character);
    std::sort(all.supplementary.begin(), all.supplementary.end());
    std::unique_copy(all.supplementary.begin(), all.supplementary.end(),
                     std::back_inserter(characters));
    return characters;
}

// Paths as a tree of folders. Entries below nameCount are the names; entry nameCount + f - 1
// is folder f (f >= 1), an entry of the folder above it. Folder 0 is the top.
struct PathTree {
    uint32_t nameCount = 0;
    std::vector<std::string_view> folders{std::string_view()}; // each ending in "\\"
    std::vector<uint32_t> parentOf{0};
    // Folder f's entries are entries[firstEntry[f] .. firstEntry[f + 1]).
    std::vector<uint32_t> firstEntry;
    std::vector<uint32_t> entries;

    std::string_view Text(const std::vector<std::string_view>& names, uint32_t entry) const {
        return entry < nameCount ? names[entry] : folders[entry - nameCount + 1];
    }
};

// Numbers the folder of every name, adding each folder not seen yet and every folder above it
// to the tree; a folder's own name ("A\\B\\") lies in that folder, as its first entry. Names of
// one folder mostly come together: the runs of names in one folder are found side by side, and
// only the first name of each run is looked up, in the names' order, which numbers the folders
// as one pass over all the names would.
std::vector<uint32_t> FolderOfEachName(const std::vector<std::string_view>& names, PathTree& tree) {
    FolderNumbers numbers(tree.folders, tree.parentOf);
    const auto folderPath = [&names](size_t i) {
        return IsFolderPath(names[i]) ? names[i] : ParentFolderOf(names[i]);
    };
    const size_t parts = names.size() < 20000 ? 1 : WorkerCount();
    const auto bound = [&](size_t part) {
        return names.size() * part / parts;
    };
    // Where each part's runs start, and then each run's folder.
    std::vector<std::vector<uint32_t>> runs(parts), folders(parts);
    ParallelInOrder<bool>(
        parts,
        [&](size_t part) {
            std::string_view previous;
            for (size_t i = bound(part); i < bound(part + 1); ++i) {
                const std::string_view path = folderPath(i);
                if (i == bound(part) || path != previous)
                    runs[part].push_back(static_cast<uint32_t>(i));
                previous = path;
            }
            return true;
        },
        [&](size_t part, bool&&) {
            folders[part].reserve(runs[part].size());
            for (const uint32_t first : runs[part])
                folders[part].push_back(numbers.Of(folderPath(first)));
        });
    std::vector<uint32_t> folderOf(names.size());
    ParallelInOrder<bool>(
        parts,
        [&](size_t part) {
            const std::vector<uint32_t>& first = runs[part];
            for (size_t run = 0; run < first.size(); ++run) {
                const size_t end = run + 1 < first.size() ? first[run + 1] : bound(part + 1);
                std::fill(folderOf.begin() + first[run], folderOf.begin() + end,
                          folders[part][run]);
            }
            return true;
        },
        [](size_t, bool&&) {});
    return folderOf;
}

// The names and the folders (after them) grouped by the folder they are entries of.
PathTree TreeOfPaths(const std::vector<std::string_view>& names) {
    PathTree tree;
    tree.nameCount = static_cast<uint32_t>(names.size());
    std::vector<uint32_t> entryFolder = FolderOfEachName(names, tree);
    const auto folderCount = static_cast<uint32_t>(tree.folders.size());
    for (uint32_t folder = 1; folder < folderCount; ++folder)
        entryFolder.push_back(tree.parentOf[folder]);
    GroupChildrenByParent(
        folderCount, entryFolder.size(), [&](size_t entry) { return entryFolder[entry]; },
        tree.firstEntry, tree.entries);
    return tree;
}

// The rows of paths (entries below nameCount, each with its name) and the folders grouped as
// TreeOfPaths groups them; each distinct folder text is looked up once.
PathTree TreeOfFolders(const FolderedPaths& paths) {
    PathTree tree;
    tree.nameCount = static_cast<uint32_t>(paths.size());
    std::vector<uint32_t> treeFolder(paths.folders.size());
    {
        FolderNumbers numbers(tree.folders, tree.parentOf);
        for (size_t folder = 0; folder < paths.folders.size(); ++folder)
            treeFolder[folder] = numbers.Of(paths.folders[folder]);
    }
    const auto folderCount = static_cast<uint32_t>(tree.folders.size());
    const size_t rows = paths.size();
    GroupChildrenByParent(
        folderCount, rows + folderCount - 1,
        [&](size_t entry) {
            return entry < rows ? treeFolder[paths.folderOf[entry]]
                                : tree.parentOf[entry - rows + 1];
        },
        tree.firstEntry, tree.entries);
    return tree;
}

// Sorts the entries of every folder by the sketch, after the folder's own path they all share;
// whole folders go to each part, about as many entries in each, and many parts, so that the
// progress moves on often.
// textOf(folder, entry) is the entry's text after the folder's path.
template <typename TextOf>
void SortEachFolder(const CollationSketch& sketch, const TextOf& textOf, PathTree& tree,
                    const std::function<void(size_t done, size_t parts)>& partDone) {
    const size_t parts = tree.nameCount < 20000 ? 1 : 16 * WorkerCount();
    const auto folderAt = [&](size_t part) {
        return static_cast<size_t>(
            std::lower_bound(tree.firstEntry.begin(), tree.firstEntry.end() - 1,
                             static_cast<uint32_t>(tree.entries.size() * part / parts)) -
            tree.firstEntry.begin());
    };
    ParallelInOrder<bool>(
        parts,
        [&](size_t part) {
            const size_t last = folderAt(part + 1);
            for (size_t folder = folderAt(part); folder < last; ++folder)
                std::stable_sort(tree.entries.begin() + tree.firstEntry[folder],
                                 tree.entries.begin() + tree.firstEntry[folder + 1],
                                 [&](uint32_t a, uint32_t b) {
                                     return sketch.Compare(textOf(folder, a), textOf(folder, b)) <
                                            0;
                                 });
            return true;
        },
        [&](size_t part, bool&&) { partDone(part + 1, parts); });
}

// The names in the order of a walk through the sorted tree, each folder's tree where the folder
// stands among its neighbours.
std::vector<uint32_t> NamesInWalkOrder(const PathTree& tree) {
    std::vector<uint32_t> order;
    order.reserve(tree.nameCount);
    std::vector<std::pair<uint32_t, uint32_t>> walk{{tree.firstEntry[0], tree.firstEntry[1]}};
    while (!walk.empty()) {
        auto& [at, end] = walk.back();
        if (at == end) {
            walk.pop_back();
            continue;
        }
        const uint32_t entry = tree.entries[at++];
        if (entry < tree.nameCount) {
            order.push_back(entry);
        } else {
            const uint32_t folder = entry - tree.nameCount + 1;
            walk.emplace_back(tree.firstEntry[folder], tree.firstEntry[folder + 1]);
        }
    }
    return order;
}

QString TextOf(char32_t character) {
    return QString::fromUcs4(&character, 1);
}

} // namespace

CollationSketch::CollationSketch(const QCollator& collator,
                                 const std::vector<std::string_view>& names) {
    CharactersSeen seen;
    NoteCharactersOf(names, seen);
    PlaceCharacters(collator, CharactersIn(seen));
}

CollationSketch::CollationSketch(const QCollator& collator, const FolderedPaths& paths) {
    CharactersSeen seen;
    NoteCharactersOf(paths.folders, seen);
    NoteCharactersOf(paths.names, seen);
    PlaceCharacters(collator, CharactersIn(seen));
}

CollationSketch::CollationSketch(const QCollator& collator, const PackedNames& names) {
    CharactersSeen seen;
    NoteCharactersOf(names, seen, false);
    PlaceCharacters(collator, CharactersIn(seen));
}

void CollationSketch::PlaceCharacters(const QCollator& collator,
                                      const std::vector<char32_t>& characters) {
    std::vector<QString> texts;
    texts.reserve(characters.size());
    for (char32_t character : characters)
        texts.push_back(TextOf(character));
    std::vector<uint32_t> order(characters.size());
    for (uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return collator.compare(texts[a], texts[b]) < 0;
    });
    // Two characters are the same letter when a later letter outweighs their difference: with
    // "a" before "b", x + "b" comes after y + "a" although x comes before y.
    QString before = QStringLiteral("a"), after = QStringLiteral("b");
    if (collator.compare(before, after) > 0)
        std::swap(before, after);
    const bool lettersTellable = collator.compare(before, after) != 0;
    m_basic.assign(0x10000, Place{});
    // Characters the collator passes over (a soft hyphen; under Windows also U+FFFD) keep
    // place 0, which CompareFrom passes over too; the others are placed from 1. (Asked after a
    // letter: QCollator puts an empty text before every other without asking the collation.)
    Place place{0, 0};
    const QString* previous = nullptr;
    for (uint32_t i : order) {
        const QString& current = texts[i];
        if (collator.compare(before + current, before) == 0)
            continue;
        if (previous == nullptr) {
            place = Place{1, 1};
        } else if (collator.compare(*previous, current) != 0) {
            ++place.exact;
            if (!lettersTellable || collator.compare(*previous + after, current + before) <= 0)
                ++place.letter;
        }
        previous = &current;
        const char32_t character = characters[i];
        if (character < 0x10000)
            m_basic[character] = place;
        else
            m_supplementary.emplace_back(character, place);
    }
    std::sort(m_supplementary.begin(), m_supplementary.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
}

const CollationSketch::Place& CollationSketch::PlaceOf(char32_t character) const {
    if (character < 0x10000)
        return m_basic[character];
    const auto found = std::lower_bound(
        m_supplementary.begin(), m_supplementary.end(), character,
        [](const std::pair<char32_t, Place>& entry, char32_t c) { return entry.first < c; });
    static const Place kUnknown; // not among the names the sketch was made for: passed over
    return found != m_supplementary.end() && found->first == character ? found->second : kUnknown;
}

template <uint32_t CollationSketch::Place::*Level>
uint32_t CollationSketch::NextCounted(std::string_view text, size_t& at) const {
    while (at < text.size())
        if (const uint32_t place = PlaceOf(CharacterAt(text, at)).*Level)
            return place;
    return 0;
}

template <uint32_t CollationSketch::Place::*Level>
int CollationSketch::CompareFrom(std::string_view a, std::string_view b, size_t start) const {
    size_t i = start, j = start;
    for (;;) {
        // A name whose counted characters have run out is 0: before any character.
        const uint32_t x = NextCounted<Level>(a, i);
        const uint32_t y = NextCounted<Level>(b, j);
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

std::vector<uint32_t> CollationSketch::Order(const std::vector<std::string_view>& names,
                                             const std::function<void(double)>& progress) const {
    // Of the time, grouping the paths by folder takes about a third, sorting them the rest.
    const auto tell = [&progress](double done) {
        if (progress)
            progress(done);
    };
    // Names that are paths share their folders with many others. They are put in order as a
    // tree: each folder's entries (the names in it, and its subfolders as their names with the
    // "\\") are sorted among themselves, and a subfolder's whole tree follows where it sorts.
    // That keeps each sort small and its names close together in memory.
    PathTree tree = TreeOfPaths(names);
    tell(0.3);
    SortEachFolder(
        *this,
        [&](size_t folder, uint32_t entry) {
            return tree.Text(names, entry).substr(tree.folders[folder].size());
        },
        tree,
        [&](size_t done, size_t parts) {
            tell(0.3 + 0.65 * static_cast<double>(done) / static_cast<double>(parts));
        });
    std::vector<uint32_t> order = NamesInWalkOrder(tree);
    tell(1);
    return order;
}

std::vector<uint32_t> CollationSketch::Order(const FolderedPaths& paths,
                                             const std::function<void(double)>& progress) const {
    // The same tree as for whole paths, but its folders come from the few folder texts, and a
    // row's entry is its name: nothing is looked up per row.
    const auto tell = [&progress](double done) {
        if (progress)
            progress(done);
    };
    PathTree tree = TreeOfFolders(paths);
    tell(0.1);
    const uint32_t rows = tree.nameCount;
    SortEachFolder(
        *this,
        [&](size_t, uint32_t entry) {
            if (entry < rows)
                return paths.names[entry];
            const uint32_t folder = entry - rows + 1;
            return tree.folders[folder].substr(tree.folders[tree.parentOf[folder]].size());
        },
        tree,
        [&](size_t done, size_t parts) {
            tell(0.1 + 0.85 * static_cast<double>(done) / static_cast<double>(parts));
        });
    std::vector<uint32_t> order = NamesInWalkOrder(tree);
    tell(1);
    return order;
}

bool CollationSketch::SameLetters(std::string_view a, std::string_view b) const {
    return CompareFrom<&Place::letter>(a, b, 0) == 0;
}

int CollationSketch::Compare(std::string_view a, std::string_view b) const {
    const size_t shorter = std::min(a.size(), b.size());
    size_t common = 0;
    while (common < shorter && a[common] == b[common])
        ++common;
    if (common == a.size() && common == b.size())
        return 0;
    // Back to a character's start: the bytes before common are the same in both names.
    size_t start = common;
    while (start > 0 && IsUtf8Continuation(static_cast<unsigned char>(a[start - 1])))
        --start;
    if (start > 0 && static_cast<unsigned char>(a[start - 1]) >= 0xC0)
        --start; // the lead byte of the character the names differ in
    if (const int byLetter = CompareFrom<&Place::letter>(a, b, start))
        return byLetter;
    return CompareFrom<&Place::exact>(a, b, start);
}

} // namespace vyp
