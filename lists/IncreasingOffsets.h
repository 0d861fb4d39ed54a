// A column of non-decreasing 64-bit offsets (where lines start in a list file, where records
// end in a buffer) in 4 bytes each: the low halves are stored, and the few places where the high
// half changes, at most one per 4 GB of file, are kept apart. Lists under 4 GB keep none.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace vyp {

class IncreasingOffsets {
public:
    size_t Count() const { return m_low.size(); }

    // offset is never below the last one pushed.
    void Push(uint64_t offset) {
        const auto high = static_cast<uint32_t>(offset >> 32);
        if (high != (m_bands.empty() ? 0 : m_bands.back().second))
            m_bands.emplace_back(m_low.size(), high);
        m_low.push_back(static_cast<uint32_t>(offset));
    }

    uint64_t operator[](size_t i) const {
        uint64_t high = 0;
        if (!m_bands.empty()) {
            // The last band that starts at or before i.
            const auto band = std::upper_bound(
                m_bands.begin(), m_bands.end(), i,
                [](size_t index, const std::pair<size_t, uint32_t>& b) { return index < b.first; });
            if (band != m_bands.begin())
                high = std::prev(band)->second;
        }
        return high << 32 | m_low[i];
    }

    void ShrinkToFit() {
        m_low.shrink_to_fit();
        m_bands.shrink_to_fit();
    }

private:
    std::vector<uint32_t> m_low;
    std::vector<std::pair<size_t, uint32_t>> m_bands; // first index of a high half, the high half
};

} // namespace vyp
