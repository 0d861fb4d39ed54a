#include "scan/ListComparison.h"

#include "lists/LineScan.h"
#include "lists/ListFile.h"

#include <bit>
#include <cstring>
#include <functional>

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

ListComparison::ListComparison(std::string_view heldText) : m_text(heldText) {
    // Lines of real lists take some 40 bytes: room for them at once rather than by doubling.
    m_entries.reserve(heldText.size() / 40);
    bool header = true;
    ForEachScannedLine(heldText, [this, &header](const ScannedLine& line) {
        if (header) {
            m_header = line.Text();
            header = false;
        } else {
            Hold(line);
        }
    });
    m_met.assign(m_entries.size(), 0);
    Index();
}

void ListComparison::Hold(const ScannedLine& line) {
    if (line.begin == line.end)
        return;
    const std::string_view name = line.FirstField();
    const auto start = static_cast<uint64_t>(line.begin - m_text.data());
    const auto nameLength = static_cast<uint32_t>(name.size());
    const auto fieldsLength =
        line.tab1 == nullptr ? 0U : static_cast<uint32_t>(line.end - line.tab1 - 1);
    if (line.FirstFieldHasBackslash()) {
        m_entries.push_back({start, nameLength, fieldsLength, kFolderLine, kNone});
        ++m_heldFolders;
        m_heldFolder = static_cast<uint32_t>(m_entries.size() - 1);
    } else {
        m_entries.push_back({start, nameLength, fieldsLength, m_heldFolder, kNone});
    }
}

uint64_t ListComparison::HashOf(uint32_t parent, std::string_view name) {
    // A multiply-rotate over eight bytes at a time and MurmurHash3's finaliser: names are
    // compared after, so this needs to spread names well, nothing more.
    uint64_t h = 0x9E3779B97F4A7C15ULL ^ (static_cast<uint64_t>(parent) * 0xC2B2AE3D27D4EB4FULL) ^
                 name.size();
    auto add = [&h](uint64_t word) {
        h = std::rotl(h ^ (word * 0x87C37B91114253D5ULL), 31) * 0x4CF5AD432745937FULL;
    };
    size_t i = 0;
    for (; i + 8 <= name.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, name.data() + i, 8);
        add(word);
    }
    if (i < name.size()) {
        uint64_t word = 0;
        std::memcpy(&word, name.data() + i, name.size() - i);
        add(word);
    }
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ULL;
    return h ^ (h >> 33);
}

void ListComparison::Index() {
    m_slots.assign(std::bit_ceil(m_entries.size() + m_entries.size() / 2 + 2), kEmptySlot);
    const size_t mask = m_slots.size() - 1;
    std::vector<uint64_t> hashes(m_entries.size());
    for (uint32_t i = 0; i < m_entries.size(); ++i)
        hashes[i] = HashOf(m_entries[i].parent, NameOf(i));
    // From the last entry to the first, so that a slot ends with the first of its repeats and
    // each repeat leads to the next. The slot of an entry a little ahead is asked for from
    // memory early, so that the processor waits for many places at once rather than for one
    // after another; the hash's top half in the slot spares looking at entries of other names.
    constexpr size_t kAhead = 16;
    for (auto i = static_cast<uint32_t>(m_entries.size()); i-- > 0;) {
        if (i >= kAhead)
            __builtin_prefetch(&m_slots[hashes[i - kAhead] & mask], 1);
        const std::string_view name = NameOf(i);
        const auto tag = static_cast<uint32_t>(hashes[i] >> 32);
        size_t slot = hashes[i] & mask;
        while (m_slots[slot] != kEmptySlot &&
               (TagOf(m_slots[slot]) != tag ||
                !Matches(EntryOf(m_slots[slot]), m_entries[i].parent, name)))
            slot = (slot + 1) & mask;
        m_entries[i].repeat = m_slots[slot] == kEmptySlot ? kNone : EntryOf(m_slots[slot]);
        m_slots[slot] = static_cast<uint64_t>(tag) << 32 | i;
    }
}

uint32_t ListComparison::FindUnmet(uint32_t parent, std::string_view name) const {
    const uint64_t hash = HashOf(parent, name);
    const auto tag = static_cast<uint32_t>(hash >> 32);
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        if (m_slots[slot] == kEmptySlot)
            return kNone;
        uint32_t i = EntryOf(m_slots[slot]);
        if (TagOf(m_slots[slot]) != tag || !Matches(i, parent, name))
            continue;
        while (i != kNone && m_met[i] != 0)
            i = m_entries[i].repeat;
        return i;
    }
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

bool ListComparison::MeetSplit(Met& met) {
    const std::string_view fields = met.fields;
    met.heldFields = {};
    // The files of a folder the held list lacks are missing too, without looking them up. Lists
    // compared are mostly alike and in the same order, so the held entry after the one met last
    // is tried first: the index (a random place in memory) is asked only where they part.
    uint32_t found = kNone;
    const uint32_t parent = met.isFolder ? kFolderLine : m_metFolder;
    const uint32_t guess = m_lastFound + 1;
    if (parent != kNone && guess < m_entries.size() && m_met[guess] == 0 &&
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
    met.heldFields = FieldsOf(found);
    met.found = SameFields(met.heldFields, fields) ? Found::Same : Found::Changed;
    return true;
}

ListComparison::HeldEntry ListComparison::HeldOf(uint32_t i) const {
    const Entry& entry = m_entries[i];
    HeldEntry held;
    held.isFolder = entry.parent == kFolderLine;
    held.name = NameOf(i);
    held.fields = FieldsOf(i);
    if (held.isFolder)
        held.folder = held.name;
    else if (entry.parent != kRootFiles)
        held.folder = NameOf(entry.parent);
    return held;
}

} // namespace vyp
