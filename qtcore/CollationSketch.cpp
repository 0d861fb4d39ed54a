#include "qtcore/CollationSketch.h"

#include "platform/ParallelInOrder.h"
#include "util/ChildrenByParent.h"

#include <QString>

#include <algorithm>
#include <unordered_map>

namespace vyp {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The character at text[at], moving at past it; a byte that starts no valid sequence stands for
// U+FFFD on its own, as the collator would see it after decoding.
inline char32_t DecodeAt(std::string_view text, size_t& at) {
    const auto b0 = static_cast<unsigned char>(text[at]);
    if (b0 < 0x80) {
        ++at;
        return b0;
    }
    int length = 0;
    char32_t value = 0;
    char32_t lowest = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2, value = b0 & 0x1F, lowest = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3, value = b0 & 0x0F, lowest = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4, value = b0 & 0x07, lowest = 0x10000;
    } else {
        ++at;
        return kReplacement;
    }
    if (text.size() - at < static_cast<size_t>(length)) {
        ++at;
        return kReplacement;
    }
    for (int k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[at + static_cast<size_t>(k)]);
        if (!IsContinuation(byte)) {
            ++at;
            return kReplacement;
        }
        value = (value << 6) | (byte & 0x3F);
    }
    if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++at;
        return kReplacement;
    }
    at += static_cast<size_t>(length);
    return value;
}

struct CharactersSeen {
    std::vector<uint8_t> basic = std::vector<uint8_t>(0x10000, 0); // by code point
    std::vector<char32_t> supplementary;
};

// Every character of the names, read in parts side by side.
std::vector<char32_t> CharactersOf(const std::vector<std::string_view>& names) {
    const size_t parts = names.size() < 20000 ? 1 : WorkerCount();
    CharactersSeen all;
    ParallelInOrder<CharactersSeen>(
        parts,
        [&](size_t part) {
            CharactersSeen seen;
            for (size_t i = names.size() * part / parts; i < names.size() * (part + 1) / parts;
                 ++i) {
                const std::string_view name = names[i];
                for (size_t at = 0; at < name.size();) {
                    if (static_cast<unsigned char>(name[at]) < 0x80) {
                        seen.basic[static_cast<unsigned char>(name[at++])] = 1;
                        continue;
                    }
                    const char32_t character = DecodeAt(name, at);
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
    std::vector<char32_t> characters;
    for (char32_t character = 0; character < 0x10000; ++character)
        if (all.basic[character] != 0)
            characters.push_back(character);
    std::sort(all.supplementary.begin(), all.supplementary.end());
    std::unique_copy(all.supplementary.begin(), all.supplementary.end(),
                     std::back_inserter(characters));
    return characters;
}

// The part of a path up to and with its last "\", a folder's own trailing "\" not counted.
std::string_view FolderPart(std::string_view path) {
    const size_t end = !path.empty() && path.back() == '\\' ? path.size() - 1 : path.size();
    const size_t last = path.substr(0, end).rfind('\\');
    return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

QString TextOf(char32_t character) {
    return QString::fromUcs4(&character, 1);
}

} // namespace

CollationSketch::CollationSketch(const QCollator& collator,
                                 const std::vector<std::string_view>& names) {
    std::vector<char32_t> characters = CharactersOf(names);
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
    Place place;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0) {
            const QString& previous = texts[order[i - 1]];
            const QString& current = texts[order[i]];
            if (collator.compare(previous, current) != 0) {
                ++place.exact;
                if (!lettersTellable || collator.compare(previous + after, current + before) <= 0)
                    ++place.letter;
            }
        }
        const char32_t character = characters[order[i]];
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
    static const Place kUnknown;
    return found != m_supplementary.end() && found->first == character ? found->second : kUnknown;
}

template <uint32_t CollationSketch::Place::*Level>
int CollationSketch::CompareFrom(std::string_view a, std::string_view b, size_t start) const {
    size_t i = start, j = start;
    while (i < a.size() && j < b.size()) {
        const uint32_t x = PlaceOf(DecodeAt(a, i)).*Level;
        const uint32_t y = PlaceOf(DecodeAt(b, j)).*Level;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return i < a.size() ? 1 : (j < b.size() ? -1 : 0);
}

std::vector<uint32_t> CollationSketch::Order(const std::vector<std::string_view>& names) const {
    // Names that are paths share their folders with many others. They are put in order as a
    // tree: each folder's entries (the names in it, and its subfolders as their names with the
    // "\\") are sorted among themselves, and a subfolder's whole tree follows where it sorts.
    // That keeps each sort small and its names close together in memory.
    const auto count = static_cast<uint32_t>(names.size());
    std::vector<std::string_view> folders{std::string_view()}; // folder 0: the top
    std::vector<uint32_t> parentOf{0};
    std::unordered_map<std::string_view, uint32_t> known{{std::string_view(), 0}};
    const auto folderOf = [&](std::string_view path) {
        if (const auto found = known.find(path); found != known.end())
            return found->second;
        // A new folder, and every folder above it not seen yet.
        std::vector<std::string_view> missing{path};
        uint32_t parent = 0;
        for (std::string_view above = FolderPart(path); !above.empty(); above = FolderPart(above)) {
            if (const auto found = known.find(above); found != known.end()) {
                parent = found->second;
                break;
            }
            missing.push_back(above);
        }
        for (size_t i = missing.size(); i-- > 0;) {
            const auto folder = static_cast<uint32_t>(folders.size());
            folders.push_back(missing[i]);
            parentOf.push_back(parent);
            known[missing[i]] = folder;
            parent = folder;
        }
        return parent;
    };
    // Each name in its folder; a folder's own name ("A\\B\\") is the first entry of that folder.
    std::vector<uint32_t> entryFolder(count);
    std::string_view previousPath;
    uint32_t previousFolder = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const std::string_view name = names[i];
        const std::string_view path =
            !name.empty() && name.back() == '\\' ? name : FolderPart(name);
        if (i == 0 || path != previousPath) {
            previousPath = path;
            previousFolder = folderOf(path);
        }
        entryFolder[i] = previousFolder;
    }
    std::unordered_map<std::string_view, uint32_t>().swap(known);
    // Entries count..count+folders-1 are the folders, each an entry of the folder above.
    const auto folderCount = static_cast<uint32_t>(folders.size());
    for (uint32_t folder = 1; folder < folderCount; ++folder)
        entryFolder.push_back(parentOf[folder]);
    std::vector<uint32_t> firstEntry, entries;
    GroupChildrenByParent(
        folderCount, entryFolder.size(), [&](size_t entry) { return entryFolder[entry]; },
        firstEntry, entries);
    std::vector<uint32_t>().swap(entryFolder);
    const auto text = [&](uint32_t entry) {
        return entry < count ? names[entry] : folders[entry - count + 1];
    };
    const size_t parts = count < 20000 ? 1 : WorkerCount();
    ParallelInOrder<bool>(
        parts,
        [&](size_t part) {
            // Whole folders to each part, about as many entries in each.
            const auto folderAt = [&](size_t share) {
                return static_cast<size_t>(
                    std::lower_bound(firstEntry.begin(), firstEntry.end() - 1,
                                     static_cast<uint32_t>(entries.size() * share / parts)) -
                    firstEntry.begin());
            };
            const size_t last = folderAt(part + 1);
            for (size_t folder = folderAt(part); folder < last; ++folder) {
                const size_t skip = folders[folder].size();
                std::stable_sort(entries.begin() + firstEntry[folder],
                                 entries.begin() + firstEntry[folder + 1],
                                 [&](uint32_t a, uint32_t b) {
                                     return Compare(text(a).substr(skip), text(b).substr(skip)) < 0;
                                 });
            }
            return true;
        },
        [](size_t, bool&&) {});
    // The names in the order of a walk through the tree.
    std::vector<uint32_t> order;
    order.reserve(count);
    std::vector<std::pair<uint32_t, uint32_t>> walk{{firstEntry[0], firstEntry[1]}};
    while (!walk.empty()) {
        auto& [at, end] = walk.back();
        if (at == end) {
            walk.pop_back();
            continue;
        }
        const uint32_t entry = entries[at++];
        if (entry < count) {
            order.push_back(entry);
        } else {
            const uint32_t folder = entry - count + 1;
            walk.emplace_back(firstEntry[folder], firstEntry[folder + 1]);
        }
    }
    return order;
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
    while (start > 0 && IsContinuation(static_cast<unsigned char>(a[start - 1])))
        --start;
    if (start > 0 && static_cast<unsigned char>(a[start - 1]) >= 0xC0)
        --start; // the lead byte of the character the names differ in
    if (const int byLetter = CompareFrom<&Place::letter>(a, b, start))
        return byLetter;
    return CompareFrom<&Place::exact>(a, b, start);
}

} // namespace vyp
