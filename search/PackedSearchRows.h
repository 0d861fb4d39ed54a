// The rows of one search as a results table keeps them: every text in one buffer and a small
// fixed record per row, with the size already converted, so that tens of millions of rows cost
// a few dozen bytes each beyond their texts and no heap object each.
#pragma once

#include "search/SearchRow.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

class PackedSearchRows {
public:
    PackedSearchRows() = default;
    // Takes the rows over, releasing each one as it is packed; rows is left empty.
    explicit PackedSearchRows(std::vector<SearchRow>&& rows);

    size_t Count() const { return m_records.size(); }
    size_t FileCount() const { return m_files; }
    size_t FolderCount() const { return m_records.size() - m_files; }

    int32_t ListIndex(size_t row) const { return static_cast<int32_t>(m_records[row].listIndex); }
    bool IsFolder(size_t row) const { return m_records[row].isFolder != 0; }
    std::string_view Path(size_t row) const;
    std::string_view SizeText(size_t row) const;
    std::string_view DateText(size_t row) const;
    std::string_view TimeText(size_t row) const;
    // The extension of a file row's name (what follows the path's last "\" or "/"); empty for
    // a folder row.
    std::string_view Extension(size_t row) const;
    // The size as a signed 64-bit number; nothing when the text is not one.
    std::optional<int64_t> Size(size_t row) const;

    // The bytes held: the texts, and everything else.
    size_t TextBytes() const { return m_text.capacity(); }
    size_t RecordBytes() const { return m_records.capacity() * sizeof(Record); }

private:
    struct Record {
        uint64_t offset; // of the path; size, date and time follow it in m_text
        int64_t size;    // valid when hasSize
        uint32_t pathLength;
        uint32_t sizeLength;
        uint32_t dateLength; // the time ends where the next row's path begins
        uint32_t listIndex : 30;
        uint32_t isFolder : 1;
        uint32_t hasSize : 1;
    };
    static_assert(sizeof(Record) == 32, "a row's record stays small");
    size_t End(size_t row) const;

    std::string m_text;
    std::vector<Record> m_records;
    size_t m_files = 0;
};

} // namespace vyp
