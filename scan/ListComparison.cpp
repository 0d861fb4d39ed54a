#include "scan/ListComparison.h"

#include <bit>
#include <functional>

namespace vyp {

namespace {

bool IsFolderLine(std::string_view firstField) {
    return firstField.find('\\') != std::string_view::npos;
}

// Splits a line at its first TAB: the first field and everything after it.
void SplitFirstField(std::string_view line, std::string_view& first, std::string_view& rest) {
    const size_t tab = line.find('\t');
    first = line.substr(0, tab);
    rest = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
}

// Size, date and time alike. Times compare apart from their separator, which follows the
// regional settings of whoever made the list ("9:29.58" and "9.29.58" are the same time).
bool SameFields(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
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

void ListComparison::Hold(std::string_view line) {
    if (line.empty())
        return;
    std::string_view name, fields;
    SplitFirstField(line, name, fields);
    if (IsFolderLine(name)) {
        m_entries.push_back({name, fields, kFolderLine});
        ++m_heldFolders;
        m_heldFolder = static_cast<uint32_t>(m_entries.size() - 1);
    } else {
        m_entries.push_back({name, fields, m_heldFolder});
    }
}

size_t ListComparison::SlotOf(uint32_t parent, std::string_view name) const {
    const size_t hash =
        std::hash<std::string_view>{}(name) ^ (static_cast<size_t>(parent) * 0x9E3779B97F4A7C15ull);
    return (hash ^ (hash >> 29)) & (m_slots.size() - 1);
}

void ListComparison::Index() {
    m_slots.assign(std::bit_ceil(m_entries.size() * 2 + 2), kNone);
    std::vector<uint32_t> lastRepeat; // by slot: the last entry of its chain
    lastRepeat.assign(m_slots.size(), kNone);
    for (uint32_t i = 0; i < m_entries.size(); ++i) {
        size_t slot = SlotOf(m_entries[i].parent, m_entries[i].name);
        while (m_slots[slot] != kNone &&
               !Matches(m_slots[slot], m_entries[i].parent, m_entries[i].name))
            slot = (slot + 1) & (m_slots.size() - 1);
        if (m_slots[slot] == kNone)
            m_slots[slot] = i;
        else
            m_entries[lastRepeat[slot]].repeat = i;
        lastRepeat[slot] = i;
    }
}

uint32_t ListComparison::FindUnmet(uint32_t parent, std::string_view name) const {
    for (size_t slot = SlotOf(parent, name);; slot = (slot + 1) & (m_slots.size() - 1)) {
        uint32_t i = m_slots[slot];
        if (i == kNone)
            return kNone;
        if (!Matches(i, parent, name))
            continue;
        while (i != kNone && m_entries[i].met)
            i = m_entries[i].repeat;
        return i;
    }
}

bool ListComparison::Meet(std::string_view line, Met& met) {
    if (line.empty())
        return false;
    std::string_view fields;
    SplitFirstField(line, met.name, fields);
    met.isFolder = IsFolderLine(met.name);
    met.fields = fields;
    met.heldFields = {};
    // The files of a folder the held list lacks are missing too, without looking them up.
    uint32_t found = kNone;
    if (met.isFolder) {
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
    Entry& entry = m_entries[found];
    entry.met = true;
    met.heldFields = entry.fields;
    met.found = SameFields(entry.fields, fields) ? Found::Same : Found::Changed;
    return true;
}

ListComparison::HeldEntry ListComparison::HeldOf(uint32_t i) const {
    const Entry& entry = m_entries[i];
    HeldEntry held;
    held.isFolder = entry.parent == kFolderLine;
    held.name = entry.name;
    held.fields = entry.fields;
    if (held.isFolder)
        held.folder = entry.name;
    else if (entry.parent != kRootFiles)
        held.folder = m_entries[entry.parent].name;
    return held;
}

} // namespace vyp
