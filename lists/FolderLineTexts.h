// The texts of a list's folder lines, one record per line in one buffer: the path as text, then
// the size, date and time. Those three are digits and separators in nearly every line, so they
// are kept at four bits a character; a line with any other character in them keeps them as
// text. A folder costs its path and about 20 bytes: the ends are kept as IncreasingOffsets, as a
// window holds the folders of every list for its whole life.
#pragma once

#include "lists/IncreasingOffsets.h"
#include "lists/ListFile.h"
#include "lists/RecordTexts.h"
#include "util/Encoding.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vyp {

class FolderLineTexts {
public:
    size_t Count() const { return m_records.Count(); }

    // Adds a folder line's fields as the file holds them (texts are decoded later, by Decode).
    void Add(const ListLineFields& fields);

    // The first field: the folder's relative path.
    std::string_view Path(size_t i) const;
    std::string SizeText(size_t i) const { return StampField(i, 0); }
    std::string DateText(size_t i) const { return StampField(i, 1); }
    // The stored time with "." turned into ":".
    std::string TimeText(size_t i) const { return StampField(i, 2); }

    // Re-reads the texts, taken from a file in encoding, as UTF-8.
    void Decode(TextEncoding encoding);
    void ShrinkToFit();

private:
    std::string StampField(size_t i, size_t field) const;

    RecordTexts<IncreasingOffsets> m_records;
    bool m_nonAscii = false; // whether a path or a stamp kept as text has a byte above 127
};

} // namespace vyp
