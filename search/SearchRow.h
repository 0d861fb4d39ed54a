// The results of a list search, kept as plain data: one record per row in one text store, so a
// search that finds millions of rows stays small. A row is a folder row (a folder line, or the
// header showing the root) or a file row (a file line, its path prefixed by its folder).
#pragma once

#include "lists/PackedTexts.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace vyp {

class SearchRows;

// The texts of one found row as a front end prints it, valid while what they view is: a row of
// SearchRows, or a list line taken as it stands where no row needs to be made of it.
struct SearchRowTexts {
    int32_t listIndex = 0;
    bool isFolder = false;
    // The path is folder followed by name: the folder of a file row (empty for a folder row)
    // and the line's first field; or, for a row of SearchRows, nothing and the row's path.
    std::string_view folder;
    std::string_view name;
    std::string_view size;
    std::string_view date;
    // As stored or as SearchRow::TimeText gives it: every "." is shown as ":".
    std::string_view time;
};

// One row of SearchRows, valid while they are unchanged.
class SearchRow {
public:
    SearchRow(const SearchRows& rows, size_t index) : m_rows(&rows), m_index(index) {}

    int32_t ListIndex() const;
    bool IsFolder() const;
    // Folder rows: the line's first field. File rows: folder prefix followed by the file name.
    std::string_view Path() const;
    // The file name of a file row, the whole path of a folder row.
    std::string_view Name() const;
    std::string_view SizeText() const;
    std::string_view DateText() const;
    // The stored time with every "." shown as ":".
    std::string_view TimeText() const;
    // The extension of a file row's name; empty for folder rows.
    std::string_view Extension() const;
    // Path, size, date and time (as the getters above give them) in one pass over the row's
    // texts, for printing a row whole.
    std::array<std::string_view, 4> Texts() const;
    // Every text of the row in one pass, as a front end prints it.
    SearchRowTexts AllTexts() const;
    // The size as a signed 64-bit number; nothing when the text is not one.
    std::optional<int64_t> Size() const;

private:
    const SearchRows* m_rows;
    size_t m_index;
};

class SearchRows {
public:
    size_t size() const { return m_lists.size(); }
    bool empty() const { return m_lists.empty(); }
    SearchRow operator[](size_t i) const { return SearchRow(*this, i); }
    SearchRow at(size_t i) const {
        if (i >= size())
            throw std::out_of_range("search row");
        return SearchRow(*this, i);
    }

    class Iterator {
    public:
        Iterator(const SearchRows& rows, size_t i) : m_rows(&rows), m_i(i) {}
        SearchRow operator*() const { return SearchRow(*m_rows, m_i); }
        Iterator& operator++() {
            ++m_i;
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_i == other.m_i; }

    private:
        const SearchRows* m_rows;
        size_t m_i;
    };
    Iterator begin() const { return Iterator(*this, 0); }
    Iterator end() const { return Iterator(*this, size()); }

    // prefix is the folder of a file row (empty for a folder row); storedTime is the time as
    // stored. The texts are raw bytes of the list file until DecodeFrom.
    void Add(int32_t listIndex, bool isFolder, std::string_view prefix, std::string_view field1,
             std::string_view size, std::string_view date, std::string_view storedTime);
    // Adds the row of a list line: its fields split at the TABs, prefix put before the first
    // field of a file row.
    void AddLine(int32_t listIndex, bool isFolder, std::string_view prefix, std::string_view line);
    // Moves every row of other to the end.
    void Append(SearchRows&& other);
    // Drops the rows from count on.
    void Truncate(size_t count);
    // Re-reads the texts of the rows from first on, taken from a file in encoding, as UTF-8.
    void DecodeFrom(size_t first, TextEncoding encoding);
    bool HasNonAsciiFrom(size_t first) const { return m_texts.HasNonAsciiFrom(first); }
    void ShrinkToFit();
    // The bytes the rows' texts hold; the rest is 16 bytes a row.
    size_t TextBytes() const { return m_texts.TextBytes(); }

private:
    friend class SearchRow;
    PackedTexts<4> m_texts;            // path, size, date, time
    std::vector<uint32_t> m_nameStart; // where the name starts in the path
    std::vector<uint32_t> m_lists;     // the list's index, shifted left, and 1 for a folder row
};

} // namespace vyp
