// The texts of many records of a list (folder nodes, file rows, search rows) kept one after the
// other in one buffer: a record's fields are stored separated by TAB, which no field of a list
// line can hold, and a record stores only where it ends, so a million records cost a few bytes
// each beyond their texts. Texts are taken from a list file as raw bytes and decoded to UTF-8
// in one step once the file's encoding is known.
#pragma once

#include "util/Encoding.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

template <size_t N> class PackedTexts {
public:
    size_t Count() const { return m_ends.size(); }

    std::string_view Field(size_t record, size_t field) const {
        std::string_view text = Record(record);
        for (size_t f = 0; f < field; ++f) {
            const size_t tab = text.find('\t');
            if (tab == std::string_view::npos)
                return {};
            text.remove_prefix(tab + 1);
        }
        return text.substr(0, text.find('\t'));
    }

    // Adds a record whose fields are texts without TAB. A field may be empty.
    void Add(const std::array<std::string_view, N>& texts) {
        AddWith([&texts](size_t f, std::string& text) { text.append(texts[f]); });
    }
    // Adds a record through a function that appends field f (without TAB) to the text; for
    // fields that are changed on the way in.
    template <typename AppendField> void AddWith(AppendField appendField) {
        for (size_t f = 0; f < N; ++f) {
            if (f > 0)
                m_text.push_back('\t');
            appendField(f, m_text);
        }
        m_ends.push_back(m_text.size());
    }

    // Moves every record of other to the end.
    void Append(PackedTexts&& other) {
        if (m_ends.empty()) {
            *this = std::move(other);
            return;
        }
        const uint64_t shift = m_text.size();
        m_text.append(other.m_text);
        m_ends.reserve(m_ends.size() + other.m_ends.size());
        for (uint64_t end : other.m_ends)
            m_ends.push_back(end + shift);
        other = PackedTexts();
    }

    // Drops the records from count on.
    void Truncate(size_t count) {
        if (count >= m_ends.size())
            return;
        m_text.resize(Start(count));
        m_ends.resize(count);
    }
    void Clear() { Truncate(0); }

    // Whether a record from first on holds a byte outside ASCII, so its file's encoding matters.
    bool HasNonAsciiFrom(size_t first) const {
        return first < m_ends.size() && !IsAscii(std::string_view(m_text).substr(Start(first)));
    }

    // Re-reads the texts of the records from first on, which were taken from a file in
    // encoding, as UTF-8.
    void DecodeFrom(size_t first, TextEncoding encoding) {
        if (encoding == TextEncoding::Utf8 || !HasNonAsciiFrom(first))
            return;
        const size_t start = Start(first);
        const std::string raw = m_text.substr(start);
        m_text.resize(start);
        size_t from = 0;
        for (size_t i = first; i < m_ends.size(); ++i) {
            const size_t length = static_cast<size_t>(m_ends[i]) - start - from;
            AppendAsUtf8(std::string_view(raw).substr(from, length), encoding, m_text);
            from += length;
            m_ends[i] = m_text.size();
        }
    }

    // The bytes the texts hold.
    size_t TextBytes() const { return m_text.capacity(); }

    void ShrinkToFit() {
        m_text.shrink_to_fit();
        m_ends.shrink_to_fit();
    }

private:
    size_t Start(size_t record) const {
        return record == 0 ? 0 : static_cast<size_t>(m_ends[record - 1]);
    }
    std::string_view Record(size_t record) const {
        return std::string_view(m_text).substr(Start(record),
                                               static_cast<size_t>(m_ends[record]) - Start(record));
    }

    std::string m_text;
    std::vector<uint64_t> m_ends; // where each record's texts end in m_text
};

} // namespace vyp
