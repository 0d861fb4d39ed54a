#include "scan/ListComparison.h"

#include "lists/LineScan.h"

#include <bit>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vyp {

namespace {

// Splits a line at its first TAB: the first field and everything after it; true when the first
// field holds a "\\" (a folder line). One pass over the line, sixteen bytes at a time: this runs
// for every line of both lists.
bool SplitFirstField(std::string_view line, std::string_view& first, std::string_view& rest) {
    const char* const base = line.data();
    const size_t size = line.size();
    size_t i = 0;
    bool backslash = false;
    auto splitAt = [&](size_t tab) {
        first = line.substr(0, tab);
        rest = line.substr(tab + 1);
        return backslash;
    };
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i slash = _mm_set1_epi8('\\');
    for (; i + 16 <= size; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
        const auto tabs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab)));
        const auto slashes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, slash)));
        if (tabs != 0) {
            backslash = backslash || (slashes & (tabs ^ (tabs - 1))) != 0;
            return splitAt(i + static_cast<size_t>(std::countr_zero(tabs)));
        }
        backslash = backslash || slashes != 0;
    }
#endif
    for (; i < size; ++i) {
        if (base[i] == '\t')
            return splitAt(i);
        backslash = backslash || base[i] == '\\';
    }
    first = line;
    rest = {};
    return backslash;
}

// Size, date and time alike. Times compare apart from their separator, which follows the
// regional settings of whoever made the list ("9:29.58" and "9.29.58" are the same time).
bool SameFields(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    if (a == b) // as almost every entry of lists compared: one comparison, not a byte loop
        return true;
    const auto isSeparator = [](char c) {
        return c != '\t' && (c < '0' || c > '9');
    };
    int tabs = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) {
            tabs += a[i] == '\t';
            continue;
        }
        if (tabs < 2 || !isSeparator(a[i]) || !isSeparator(b[i]))
            return false;
    }
    return true;
}

} // namespace

ListComparison::ListComparison(std::string_view heldText) : ListComparison(ListEntries(heldText)) {}

ListComparison::ListComparison(ListEntries held)
    : m_held(std::move(held)), m_met(m_held.Count(), 0) {}

void ListComparison::Index(const std::vector<uint32_t>& entries, const uint64_t* hashes,
                           NameIndex& index) const {
    constexpr uint64_t kEmpty = UINT64_MAX;
    index.slots.assign(std::bit_ceil(entries.size() + entries.size() / 2 + 2), kEmpty);
    index.repeats.clear();
    const size_t mask = index.slots.size() - 1;
    // From the last entry to the first, so that a slot ends with the first of its repeats and
    // each repeat leads to the next; the hash's top half in the slot spares looking at entries
    // of other names.
    for (size_t k = entries.size(); k-- > 0;) {
        const uint32_t i = entries[k];
        const std::string_view name = NameOf(i);
        const uint64_t hash = hashes != nullptr ? hashes[k] : ListEntries::NameHash(name);
        const auto tag = static_cast<uint32_t>(hash >> 32);
        size_t slot = hash & mask;
        while (index.slots[slot] != kEmpty &&
               (static_cast<uint32_t>(index.slots[slot] >> 32) != tag ||
                NameOf(static_cast<uint32_t>(index.slots[slot])) != name))
            slot = (slot + 1) & mask;
        if (index.slots[slot] != kEmpty)
            index.repeats[i] = static_cast<uint32_t>(index.slots[slot]);
        index.slots[slot] = static_cast<uint64_t>(tag) << 32 | i;
    }
}

uint32_t ListComparison::FindUnmet(const NameIndex& index, std::string_view name) const {
    constexpr uint64_t kEmpty = UINT64_MAX;
    const uint64_t hash = ListEntries::NameHash(name);
    const auto tag = static_cast<uint32_t>(hash >> 32);
    const size_t mask = index.slots.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        if (index.slots[slot] == kEmpty)
            return kNone;
        uint32_t i = static_cast<uint32_t>(index.slots[slot]);
        if (static_cast<uint32_t>(index.slots[slot] >> 32) != tag || NameOf(i) != name)
            continue;
        while (i != kNone && m_met[i] != 0) {
            const auto repeat = index.repeats.find(i);
            i = repeat == index.repeats.end() ? kNone : repeat->second;
        }
        return i;
    }
}

uint32_t ListComparison::FindUnmet(uint32_t parent, std::string_view name) {
    if (parent == kFolderLine) {
        if (!m_foldersIndexed) {
            Index(m_held.FolderEntries(), m_held.FolderHashes().data(), m_folders);
            m_foldersIndexed = true;
        }
        return FindUnmet(m_folders, name);
    }
    // The held files of the folder are the run of lines after its own.
    uint32_t begin = 0, end = 0;
    m_held.FilesOf(parent, begin, end);
    if (m_filesLookedIn != parent) {
        m_filesLookedIn = parent;
        m_looksThrough = 0;
    }
    if (end - begin <= 4 * kLookedThrough || ++m_looksThrough <= kLookedThrough) {
        for (uint32_t i = begin; i < end; ++i) {
            if (m_met[i] == 0 && NameOf(i) == name)
                return i;
        }
        return kNone;
    }
    if (m_filesIndexed != parent) {
        std::vector<uint32_t> files(end - begin);
        for (uint32_t i = begin; i < end; ++i)
            files[i - begin] = i;
        Index(files, nullptr, m_files);
        m_filesIndexed = parent;
    }
    return FindUnmet(m_files, name);
}

bool ListComparison::Meet(std::string_view line, Met& met) {
    if (line.empty())
        return false;
    std::string_view fields;
    met.isFolder = SplitFirstField(line, met.name, fields);
    met.fields = fields;
    return MeetSplit(met);
}

bool ListComparison::Meet(const ScannedLine& line, Met& met) {
    if (line.begin == line.end)
        return false;
    met.name = line.FirstField();
    met.isFolder = line.FirstFieldHasBackslash();
    met.fields =
        line.tab1 == nullptr
            ? std::string_view()
            : std::string_view(line.tab1 + 1, static_cast<size_t>(line.end - line.tab1 - 1));
    return MeetSplit(met);
}

void ListComparison::Meet(const ListEntries& list, uint32_t i, Met& met) {
    met.name = list.Name(i);
    met.isFolder = list.IsFolder(i);
    met.fields = list.Fields(i);
    // Where the lists agree, the held entry after the one met last has the same line, name and
    // fields alike: one comparison of bytes. The same outcome as MeetSplit's, sooner.
    const uint32_t guess = m_lastFound + 1;
    const uint32_t parent = met.isFolder ? kFolderLine : m_metFolder;
    if (guess < m_held.Count() && m_met[guess] == 0 && parent != kNone) {
        const ListEntries::Entry& held = m_held[guess];
        const ListEntries::Entry& line = list[i];
        if (held.folder == parent && held.nameLength == line.nameLength &&
            held.fieldsLength == line.fieldsLength && m_held.Line(guess) == list.Line(i)) {
            if (met.isFolder) {
                m_metFolder = guess;
                m_metFolderName = met.name;
            }
            met.folder = m_metFolderName;
            met.heldFields = m_held.Fields(guess);
            met.found = Found::Same;
            m_lastFound = guess;
            m_met[guess] = 1;
            return;
        }
    }
    MeetSplit(met);
}

bool ListComparison::MeetSplit(Met& met) {
    const std::string_view fields = met.fields;
    met.heldFields = {};
    // The files of a folder the held list lacks are missing too, without looking them up. The
    // held entry after the one met last is tried first: the held list is looked through only
    // where the two part.
    uint32_t found = kNone;
    const uint32_t parent = met.isFolder ? kFolderLine : m_metFolder;
    const uint32_t guess = m_lastFound + 1;
    if (parent != kNone && guess < m_held.Count() && m_met[guess] == 0 &&
        Matches(guess, parent, met.name)) {
        found = guess;
        if (met.isFolder) {
            m_metFolder = found;
            m_metFolderName = met.name;
        }
        met.folder = m_metFolderName;
    } else if (met.isFolder) {
        found = FindUnmet(kFolderLine, met.name);
        m_metFolder = found;
        m_metFolderName = met.name;
        met.folder = met.name;
    } else {
        if (m_metFolder != kNone)
            found = FindUnmet(m_metFolder, met.name);
        met.folder = m_metFolderName;
    }
    if (found == kNone) {
        met.found = Found::Missing;
        return true;
    }
    m_lastFound = found;
    m_met[found] = 1;
    met.heldFields = m_held.Fields(found);
    met.found = SameFields(met.heldFields, fields) ? Found::Same : Found::Changed;
    return true;
}

ListComparison::HeldEntry ListComparison::HeldOf(uint32_t i) const {
    const ListEntries::Entry& entry = m_held[i];
    HeldEntry held;
    held.isFolder = entry.folder == kFolderLine;
    held.name = NameOf(i);
    held.fields = m_held.Fields(i);
    if (held.isFolder)
        held.folder = held.name;
    else if (entry.folder != kRootFiles)
        held.folder = NameOf(entry.folder);
    return held;
}

} // namespace vyp
