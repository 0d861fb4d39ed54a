// The texts of many records of a list (folder nodes, file rows, search rows) kept one after the
// other in one buffer: a record stores where its texts start and the length of each, a few bytes
// per record instead of a string object per text. Texts are taken from a list file as raw bytes
// and decoded to UTF-8 in one step once the file's encoding is known.
#pragma once

#include "lists/Encoding.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

template <size_t N> class PackedTexts {
public:
    size_t Count() const { return m_records.size(); }

    std::string_view Field(size_t record, size_t field) const {
        return Fields(record, field, field + 1);
    }
    // Fields first .. last-1 of a record as one text: they lie one after the other.
    std::string_view Fields(size_t record, size_t first, size_t last) const {
        const Record& r = m_records[record];
        size_t offset = r.offset;
        for (size_t f = 0; f < first; ++f)
            offset += r.length[f];
        size_t length = 0;
        for (size_t f = first; f < last; ++f)
            length += r.length[f];
        return std::string_view(m_text).substr(offset, length);
    }

    // Adds a record whose fields are texts. A field may be empty.
    void Add(const std::array<std::string_view, N>& texts) {
        Record r{m_text.size(), {}};
        for (size_t f = 0; f < N; ++f) {
            m_text.append(texts[f]);
            r.length[f] = static_cast<uint32_t>(texts[f].size());
        }
        m_records.push_back(r);
    }
    // Adds a record through a function that appends field f to the text and returns nothing;
    // for fields that are changed on the way in.
    template <typename AppendField> void AddWith(AppendField appendField) {
        Record r{m_text.size(), {}};
        for (size_t f = 0; f < N; ++f) {
            const size_t before = m_text.size();
            appendField(f, m_text);
            r.length[f] = static_cast<uint32_t>(m_text.size() - before);
        }
        m_records.push_back(r);
    }

    // Moves every record of other to the end.
    void Append(PackedTexts&& other) {
        if (m_records.empty()) {
            *this = std::move(other);
            return;
        }
        const size_t shift = m_text.size();
        m_text.append(other.m_text);
        m_records.reserve(m_records.size() + other.m_records.size());
        for (Record r : other.m_records) {
            r.offset += shift;
            m_records.push_back(r);
        }
        other = PackedTexts();
    }

    // Drops the records from count on.
    void Truncate(size_t count) {
        if (count >= m_records.size())
            return;
        m_text.resize(m_records[count].offset);
        m_records.resize(count);
    }
    void Clear() { Truncate(0); }

    // Whether a record from first on holds a byte outside ASCII, so its file's encoding matters.
    bool HasNonAsciiFrom(size_t first) const {
        return first < m_records.size() &&
               !IsAscii(std::string_view(m_text).substr(m_records[first].offset));
    }

    // Re-reads the texts of the records from first on, which were taken from a file in
    // encoding, as UTF-8.
    void DecodeFrom(size_t first, TextEncoding encoding) {
        if (encoding == TextEncoding::Utf8 || !HasNonAsciiFrom(first))
            return;
        const size_t start = m_records[first].offset;
        const std::string raw = m_text.substr(start);
        m_text.resize(start);
        for (size_t i = first; i < m_records.size(); ++i) {
            Record& r = m_records[i];
            size_t from = r.offset - start;
            r.offset = m_text.size();
            for (size_t f = 0; f < N; ++f) {
                const size_t before = m_text.size();
                AppendAsUtf8(std::string_view(raw).substr(from, r.length[f]), encoding, m_text);
                from += r.length[f];
                r.length[f] = static_cast<uint32_t>(m_text.size() - before);
            }
        }
    }

    void ShrinkToFit() {
        m_text.shrink_to_fit();
        m_records.shrink_to_fit();
    }

private:
    struct Record {
        size_t offset;
        uint32_t length[N];
    };
    std::string m_text;
    std::vector<Record> m_records;
};

} // namespace vyp
