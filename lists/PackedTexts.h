// The texts of many records of N fields each (file rows, search rows, differences) in one
// RecordTexts: a record's fields are stored separated by TAB, which no field of a list line can
// hold. Ends are kept whole, as these records are sorted and read at random.
#pragma once

#include "lists/RecordTexts.h"
#include "lists/WholeOffsets.h"
#include "util/Encoding.h"
#include "util/TabFields.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vyp {

template <size_t N> class PackedTexts {
public:
    size_t Count() const { return m_records.Count(); }

    std::string_view Field(size_t record, size_t field) const {
        std::string_view text = m_records.Record(record);
        for (size_t f = 0; f < field; ++f) {
            const size_t tab = text.find('\t');
            if (tab == std::string_view::npos)
                return {};
            text.remove_prefix(tab + 1);
        }
        return text.substr(0, text.find('\t'));
    }

    // Every field of a record, in one pass over it: for readers of most fields of a record.
    std::array<std::string_view, N> Fields(size_t record) const {
        std::array<std::string_view, N> fields;
        SplitAtTabs(m_records.Record(record), fields.data(), N);
        return fields;
    }

    // The same fields, the TABs looked for from the record's end: for records whose last fields
    // are short.
    std::array<std::string_view, N> FieldsFromEnd(size_t record) const {
        std::array<std::string_view, N> fields;
        SplitAtLastTabs(m_records.Record(record), fields.data(), N);
        return fields;
    }

    // Adds a record whose fields are texts without TAB. A field may be empty.
    void Add(const std::array<std::string_view, N>& texts) {
        AddWith([&texts](size_t f, std::string& text) { text.append(texts[f]); });
    }
    // Adds a record through a function that appends field f (without TAB) to the text; for
    // fields that are changed on the way in.
    template <typename AppendField> void AddWith(AppendField appendField) {
        m_records.Add([&](std::string& text) {
            for (size_t f = 0; f < N; ++f) {
                if (f > 0)
                    text.push_back('\t');
                appendField(f, text);
            }
        });
    }

    // Adds a record that write appends whole: N fields parted by N - 1 TABs, none in a field.
    template <typename Write> void AddJoined(Write write) { m_records.Add(write); }

    // Moves every record of other to the end.
    void Append(PackedTexts&& other) { m_records.Append(std::move(other.m_records)); }

    // Drops the records from count on.
    void Truncate(size_t count) { m_records.Truncate(count); }
    void Clear() { Truncate(0); }

    // Whether a record from first on holds a byte outside ASCII, so its file's encoding matters.
    bool HasNonAsciiFrom(size_t first) const { return !IsAscii(m_records.TextFrom(first)); }

    // Re-reads the texts of the records from first on, which were taken from a file in
    // encoding, as UTF-8.
    void DecodeFrom(size_t first, TextEncoding encoding) {
        if (encoding == TextEncoding::Utf8 || !HasNonAsciiFrom(first))
            return;
        m_records.RewriteFrom(first, [encoding](std::string_view record, std::string& text) {
            AppendAsUtf8(record, encoding, text);
        });
    }

    // The bytes the texts hold.
    size_t TextBytes() const { return m_records.TextBytes(); }
    void ShrinkToFit() { m_records.ShrinkToFit(); }

private:
    RecordTexts<WholeOffsets> m_records;
};

} // namespace vyp
