// A column of non-decreasing 64-bit offsets (where folder lines start in a list file, where
// records end in a buffer) in about 2 bytes each: every 64th offset is kept whole, the others as
// their distance from the one before in 16 bits; the few distances that do not fit (a folder of
// many files between two folder lines) are kept apart. Reading one adds up at most 63 distances.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace vyp {

class IncreasingOffsets {
public:
    size_t Count() const { return m_steps.size(); }

    // offset is never below the last one pushed.
    void Push(uint64_t offset) {
        const size_t i = m_steps.size();
        if (i % kBlock == 0) {
            m_whole.push_back(offset);
            m_steps.push_back(0);
        } else if (offset - m_last < kFar) {
            m_steps.push_back(static_cast<uint16_t>(offset - m_last));
        } else {
            m_far.emplace_back(i, offset - m_last);
            m_steps.push_back(kFar);
        }
        m_last = offset;
    }

    uint64_t operator[](size_t i) const {
        const size_t first = i - i % kBlock;
        uint64_t offset = m_whole[i / kBlock];
        for (size_t k = first + 1; k <= i; ++k)
            offset += m_steps[k] == kFar ? FarStep(k) : m_steps[k];
        return offset;
    }

    // Offsets i - 1 and i (0 in place of the first's predecessor), for about the cost of one.
    std::pair<uint64_t, uint64_t> BeforeAndAt(size_t i) const {
        if (i % kBlock == 0)
            return {i == 0 ? 0 : (*this)[i - 1], m_whole[i / kBlock]};
        const uint64_t at = (*this)[i];
        return {at - (m_steps[i] == kFar ? FarStep(i) : m_steps[i]), at};
    }

    // Drops the offsets from count on.
    void Truncate(size_t count) {
        if (count >= Count())
            return;
        m_last = count == 0 ? 0 : (*this)[count - 1];
        m_steps.resize(count);
        m_whole.resize((count + kBlock - 1) / kBlock);
        m_far.erase(std::lower_bound(m_far.begin(), m_far.end(), count,
                                     [](const std::pair<size_t, uint64_t>& far, size_t index) {
                                         return far.first < index;
                                     }),
                    m_far.end());
    }

    void ShrinkToFit() {
        m_whole.shrink_to_fit();
        m_steps.shrink_to_fit();
        m_far.shrink_to_fit();
    }

private:
    static constexpr size_t kBlock = 64;
    static constexpr uint16_t kFar = 0xFFFF; // the step is in m_far

    uint64_t FarStep(size_t i) const {
        return std::lower_bound(m_far.begin(), m_far.end(), i,
                                [](const std::pair<size_t, uint64_t>& far, size_t index) {
                                    return far.first < index;
                                })
            ->second;
    }

    std::vector<uint64_t> m_whole;                  // offsets 0, 64, 128, ...
    std::vector<uint16_t> m_steps;                  // from the offset before; 0 where whole
    std::vector<std::pair<size_t, uint64_t>> m_far; // index, step: steps of kFar and more
    uint64_t m_last = 0;
};

} // namespace vyp
