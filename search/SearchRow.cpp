#include "search/SearchRow.h"

#include "lists/ListFile.h"
#include "lists/PackedFields.h"

namespace vyp {

SearchRow::SearchRow(int32_t listIndex, bool isFolder, std::string_view prefix,
                     std::string_view field1, std::string_view size, std::string_view date,
                     std::string_view storedTime)
    : m_listIndex(listIndex), m_isFolder(isFolder) {
    m_text.reserve(prefix.size() + field1.size() + size.size() + date.size() + storedTime.size());
    m_text.append(prefix).append(field1);
    m_length[0] = static_cast<uint32_t>(prefix.size() + field1.size());
    m_nameStart = static_cast<uint32_t>(prefix.size());
    m_text.append(size);
    m_length[1] = static_cast<uint32_t>(size.size());
    m_text.append(date);
    m_length[2] = static_cast<uint32_t>(date.size());
    AppendTimeForDisplay(storedTime, m_text);
    m_length[3] = static_cast<uint32_t>(storedTime.size());
}

std::string_view SearchRow::Field(int field) const {
    return PackedField(m_text, 0, m_length, static_cast<size_t>(field));
}

std::string_view SearchRow::Extension() const {
    return m_isFolder ? std::string_view() : ExtensionOf(Name());
}

bool SearchRow::HasNonAscii() const {
    return !IsAscii(m_text);
}

void SearchRow::ConvertToUtf8(TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8 || !HasNonAscii())
        return;
    std::string text;
    const size_t nameLength = ToUtf8(Path().substr(0, m_nameStart), encoding).size();
    uint32_t lengths[4];
    for (int f = 0; f < 4; ++f) {
        const size_t before = text.size();
        AppendAsUtf8(Field(f), encoding, text);
        lengths[f] = static_cast<uint32_t>(text.size() - before);
    }
    m_text = std::move(text);
    for (int f = 0; f < 4; ++f)
        m_length[f] = lengths[f];
    m_nameStart = static_cast<uint32_t>(nameLength);
}

} // namespace vyp
