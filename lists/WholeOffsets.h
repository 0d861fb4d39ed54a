// A column of 64-bit offsets kept whole, 8 bytes each: any one is read in one step, for records
// read at random many times over (the rows of a table while it sorts). IncreasingOffsets keeps
// the same column in about 2 bytes an offset, for records held long and read less often.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace vyp {

class WholeOffsets {
public:
    size_t Count() const { return m_offsets.size(); }
    void Push(uint64_t offset) { m_offsets.push_back(offset); }
    uint64_t operator[](size_t i) const { return m_offsets[i]; }
    // Offsets i - 1 and i (0 in place of the first's predecessor).
    std::pair<uint64_t, uint64_t> BeforeAndAt(size_t i) const {
        return {i == 0 ? 0 : m_offsets[i - 1], m_offsets[i]};
    }
    // Drops the offsets from count on.
    void Truncate(size_t count) {
        if (count < m_offsets.size())
            m_offsets.resize(count);
    }
    void Reserve(size_t count) { m_offsets.reserve(count); }
    void ShrinkToFit() { m_offsets.shrink_to_fit(); }

private:
    std::vector<uint64_t> m_offsets;
};

} // namespace vyp
