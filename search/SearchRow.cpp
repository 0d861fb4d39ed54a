#include "search/SearchRow.h"

#include "lists/ListFile.h"

namespace vyp {

int32_t SearchRow::ListIndex() const {
    return static_cast<int32_t>(m_rows->m_lists[m_index] >> 1);
}

bool SearchRow::IsFolder() const {
    return (m_rows->m_lists[m_index] & 1) != 0;
}

std::string_view SearchRow::Path() const {
    return m_rows->m_texts.Fields(m_index, 0, 2);
}

std::string_view SearchRow::Name() const {
    return m_rows->m_texts.Field(m_index, 1);
}

std::string_view SearchRow::SizeText() const {
    return m_rows->m_texts.Field(m_index, 2);
}

std::string_view SearchRow::DateText() const {
    return m_rows->m_texts.Field(m_index, 3);
}

std::string_view SearchRow::TimeText() const {
    return m_rows->m_texts.Field(m_index, 4);
}

std::string_view SearchRow::Extension() const {
    return IsFolder() ? std::string_view() : ExtensionOf(Name());
}

void SearchRows::Add(int32_t listIndex, bool isFolder, std::string_view prefix,
                     std::string_view field1, std::string_view size, std::string_view date,
                     std::string_view storedTime) {
    m_texts.AddWith([&](size_t f, std::string& text) {
        switch (f) {
        case 0:
            text.append(prefix);
            break;
        case 1:
            text.append(field1);
            break;
        case 2:
            text.append(size);
            break;
        case 3:
            text.append(date);
            break;
        default:
            AppendTimeForDisplay(storedTime, text);
            break;
        }
    });
    m_lists.push_back(static_cast<uint32_t>(listIndex) << 1 | (isFolder ? 1U : 0U));
}

void SearchRows::Append(SearchRows&& other) {
    m_texts.Append(std::move(other.m_texts));
    if (m_lists.empty())
        m_lists = std::move(other.m_lists);
    else
        m_lists.insert(m_lists.end(), other.m_lists.begin(), other.m_lists.end());
    other.m_lists.clear();
}

void SearchRows::Truncate(size_t count) {
    m_texts.Truncate(count);
    if (count < m_lists.size())
        m_lists.resize(count);
}

void SearchRows::ShrinkToFit() {
    m_texts.ShrinkToFit();
    m_lists.shrink_to_fit();
}

} // namespace vyp
