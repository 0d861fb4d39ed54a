#include "search/PackedSearchRows.h"

#include "lists/ListFile.h"
#include "lists/SizeText.h"

#include <cstring>

namespace vyp {

namespace {
constexpr uint32_t kListIndexMask = (1u << 30) - 1;
} // namespace

PackedSearchRows::PackedSearchRows(std::vector<SearchRow>&& rows) {
    m_records.resize(rows.size());
    uint64_t offset = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const SearchRow& row = rows[i];
        const std::optional<int64_t> size = TryParseSizeText(row.SizeText());
        // A registry never comes near 2^30 lists: each is a file in one folder.
        m_records[i] = Record{offset,
                              size.value_or(0),
                              static_cast<uint32_t>(row.Path().size()),
                              static_cast<uint32_t>(row.SizeText().size()),
                              static_cast<uint32_t>(row.DateText().size()),
                              static_cast<uint32_t>(row.ListIndex()) & kListIndexMask,
                              row.IsFolder() ? 1u : 0u,
                              size.has_value() ? 1u : 0u};
        offset += row.Path().size() + row.SizeText().size() + row.DateText().size() +
                  row.TimeText().size();
        if (!row.IsFolder())
            ++m_files;
    }
    // Copied from the last row to the first, so that each row's own text is released as soon
    // as it has been copied and the two never stand side by side whole.
    m_text.resize(offset);
    while (!rows.empty()) {
        const SearchRow& row = rows.back();
        char* out = m_text.data() + m_records[rows.size() - 1].offset;
        for (std::string_view field :
             {row.Path(), row.SizeText(), row.DateText(), row.TimeText()}) {
            std::memcpy(out, field.data(), field.size());
            out += field.size();
        }
        rows.pop_back();
    }
    rows.shrink_to_fit();
}

size_t PackedSearchRows::End(size_t row) const {
    return row + 1 < m_records.size() ? m_records[row + 1].offset : m_text.size();
}

std::string_view PackedSearchRows::Path(size_t row) const {
    const Record& r = m_records[row];
    return std::string_view(m_text).substr(r.offset, r.pathLength);
}

std::string_view PackedSearchRows::SizeText(size_t row) const {
    const Record& r = m_records[row];
    return std::string_view(m_text).substr(r.offset + r.pathLength, r.sizeLength);
}

std::string_view PackedSearchRows::DateText(size_t row) const {
    const Record& r = m_records[row];
    return std::string_view(m_text).substr(r.offset + r.pathLength + r.sizeLength, r.dateLength);
}

std::string_view PackedSearchRows::TimeText(size_t row) const {
    const Record& r = m_records[row];
    const size_t begin = r.offset + r.pathLength + r.sizeLength + r.dateLength;
    return std::string_view(m_text).substr(begin, End(row) - begin);
}

std::string_view PackedSearchRows::Extension(size_t row) const {
    if (m_records[row].isFolder)
        return {};
    // A file's name holds no "\" (that would make its line a folder line) and no "/"; its
    // folder prefix ends with one of them, whichever the system that made the list uses.
    const std::string_view path = Path(row);
    const size_t separator = path.find_last_of("\\/");
    return ExtensionOf(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::optional<int64_t> PackedSearchRows::Size(size_t row) const {
    const Record& r = m_records[row];
    return r.hasSize ? std::optional<int64_t>(r.size) : std::nullopt;
}

} // namespace vyp
