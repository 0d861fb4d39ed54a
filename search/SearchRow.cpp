#include "search/SearchRow.h"

#include "lists/ListFile.h"
#include "lists/SizeText.h"

namespace vyp {

int32_t SearchRow::ListIndex() const {
    return static_cast<int32_t>(m_rows->m_lists[m_index] >> 1);
}

bool SearchRow::IsFolder() const {
    return (m_rows->m_lists[m_index] & 1) != 0;
}

std::string_view SearchRow::Path() const {
    return m_rows->m_texts.Field(m_index, 0);
}

std::string_view SearchRow::Name() const {
    return Path().substr(m_rows->m_nameStart[m_index]);
}

std::string_view SearchRow::SizeText() const {
    return m_rows->m_texts.Field(m_index, 1);
}

std::string_view SearchRow::DateText() const {
    return m_rows->m_texts.Field(m_index, 2);
}

std::string_view SearchRow::TimeText() const {
    return m_rows->m_texts.Field(m_index, 3);
}

std::array<std::string_view, 4> SearchRow::Texts() const {
    return m_rows->m_texts.FieldsFromEnd(m_index); // the size, date and time are short
}

SearchRowTexts SearchRow::AllTexts() const {
    const auto [path, size, date, time] = Texts();
    return {ListIndex(), IsFolder(), {}, path, size, date, time};
}

std::optional<int64_t> SearchRow::Size() const {
    return TryParseSizeText(SizeText());
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
            text.append(prefix).append(field1);
            break;
        case 1:
            text.append(size);
            break;
        case 2:
            text.append(date);
            break;
        default:
            AppendTimeForDisplay(storedTime, text);
            break;
        }
    });
    m_nameStart.push_back(static_cast<uint32_t>(prefix.size()));
    m_lists.push_back(static_cast<uint32_t>(listIndex) << 1 | (isFolder ? 1U : 0U));
}

void SearchRows::AddLine(int32_t listIndex, bool isFolder, std::string_view prefix,
                         std::string_view line) {
    const ListLineFields fields = SplitListLine(line);
    if (isFolder)
        prefix = {};
    if (fields.count < 4) {
        auto field = [&fields](int i) {
            return i < fields.count ? fields.field[i] : std::string_view();
        };
        Add(listIndex, isFolder, prefix, field(0), field(1), field(2), field(3));
        return;
    }
    // A line of four fields or more is a record as it stands, up to the end of its time: one
    // copy, not one a field (a search may add millions of rows).
    const std::string_view time = fields.field[3];
    const auto upToTime = static_cast<size_t>(time.data() - line.data());
    m_texts.AddJoined([&](std::string& text) {
        text.append(prefix).append(line.data(), upToTime);
        AppendTimeForDisplay(time, text);
    });
    m_nameStart.push_back(static_cast<uint32_t>(prefix.size()));
    m_lists.push_back(static_cast<uint32_t>(listIndex) << 1 | (isFolder ? 1U : 0U));
}

void SearchRows::DecodeFrom(size_t first, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8 || !m_texts.HasNonAsciiFrom(first))
        return;
    // The name starts after the decoded folder prefix.
    for (size_t i = first; i < size(); ++i) {
        const std::string_view prefix = m_texts.Field(i, 0).substr(0, m_nameStart[i]);
        if (!IsAscii(prefix))
            m_nameStart[i] = static_cast<uint32_t>(ToUtf8(prefix, encoding).size());
    }
    m_texts.DecodeFrom(first, encoding);
}

void SearchRows::Append(SearchRows&& other) {
    m_texts.Append(std::move(other.m_texts));
    if (m_nameStart.empty())
        m_nameStart = std::move(other.m_nameStart);
    else
        m_nameStart.insert(m_nameStart.end(), other.m_nameStart.begin(), other.m_nameStart.end());
    other.m_nameStart.clear();
    if (m_lists.empty())
        m_lists = std::move(other.m_lists);
    else
        m_lists.insert(m_lists.end(), other.m_lists.begin(), other.m_lists.end());
    other.m_lists.clear();
}

void SearchRows::Truncate(size_t count) {
    m_texts.Truncate(count);
    if (count < m_lists.size()) {
        m_lists.resize(count);
        m_nameStart.resize(count);
    }
}

void SearchRows::ShrinkToFit() {
    m_texts.ShrinkToFit();
    m_nameStart.shrink_to_fit();
    m_lists.shrink_to_fit();
}

} // namespace vyp
