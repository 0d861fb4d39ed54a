// The texts of many records of a list (folder nodes, file rows, search rows, differences) kept
// one after the other in one buffer; a record stores only where it ends, so a million records
// cost a few bytes each beyond their texts. Ends is how those ends are kept: WholeOffsets (8
// bytes, read in one step) or IncreasingOffsets (about 2 bytes, read in up to 64 steps).
// Texts are taken from a list file as raw bytes and rewritten once its encoding is known.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vyp {

template <typename Ends> class RecordTexts {
public:
    size_t Count() const { return m_ends.Count(); }

    std::string_view Record(size_t i) const {
        const auto [start, end] = m_ends.BeforeAndAt(i);
        return std::string_view(m_text).substr(static_cast<size_t>(start),
                                               static_cast<size_t>(end - start));
    }
    // Where record i starts in the buffer; Count() gives the end of the last.
    size_t Start(size_t i) const { return i == 0 ? 0 : static_cast<size_t>(m_ends[i - 1]); }
    // The texts of the records from first on, one after the other.
    std::string_view TextFrom(size_t first) const {
        return first < Count() ? std::string_view(m_text).substr(Start(first)) : std::string_view();
    }

    // Adds a record that write(text) appends to the end of text.
    template <typename Write> void Add(Write write) {
        write(m_text);
        m_ends.Push(m_text.size());
    }

    // Moves every record of other to the end.
    void Append(RecordTexts&& other) {
        if (Count() == 0) {
            *this = std::move(other);
            return;
        }
        const uint64_t shift = m_text.size();
        m_text.append(other.m_text);
        m_ends.Reserve(Count() + other.Count());
        for (size_t i = 0; i < other.Count(); ++i)
            m_ends.Push(other.m_ends[i] + shift);
        other = RecordTexts();
    }

    // Drops the records from count on.
    void Truncate(size_t count) {
        if (count >= Count())
            return;
        m_text.resize(Start(count));
        m_ends.Truncate(count);
    }

    // Rewrites the records from first on: rewrite(record, text) appends the new form of a record
    // to text (decoding it, for one).
    template <typename Rewrite> void RewriteFrom(size_t first, Rewrite rewrite) {
        if (first >= Count())
            return;
        const size_t start = Start(first);
        std::string raw;
        if (first == 0) { // the whole buffer: moved rather than copied
            raw = std::move(m_text);
            m_text = std::string();
            m_text.reserve(raw.size() + raw.size() / 4);
        } else {
            raw = m_text.substr(start);
            m_text.resize(start);
        }
        std::vector<uint64_t> rawEnds;
        rawEnds.reserve(Count() - first);
        for (size_t i = first; i < Count(); ++i)
            rawEnds.push_back(m_ends[i] - start);
        m_ends.Truncate(first);
        size_t from = 0;
        for (const uint64_t end : rawEnds) {
            const std::string_view record =
                std::string_view(raw).substr(from, static_cast<size_t>(end) - from);
            rewrite(record, m_text);
            m_ends.Push(m_text.size());
            from = static_cast<size_t>(end);
        }
    }

    // The bytes the texts hold.
    size_t TextBytes() const { return m_text.capacity(); }

    void ShrinkToFit() {
        m_text.shrink_to_fit();
        m_ends.ShrinkToFit();
    }

private:
    std::string m_text;
    Ends m_ends;
};

} // namespace vyp
