// Memory for so many pieces of search rows and then none, for as long as it lives: a machine
// that runs out in the middle of a large result, without holding gigabytes to get there.
#pragma once

#include "search/SearchHits.h"

#include <atomic>
#include <cstdlib>

namespace vyp::test {

class ScarceMemory {
public:
    explicit ScarceMemory(int pieces) {
        s_left = pieces;
        m_before = SearchHits::SetPieceAllocator(&Piece);
    }
    ~ScarceMemory() { SearchHits::SetPieceAllocator(m_before); }
    ScarceMemory(const ScarceMemory&) = delete;
    ScarceMemory& operator=(const ScarceMemory&) = delete;

private:
    static void* Piece(size_t bytes) {
        return s_left.fetch_sub(1) > 0 ? std::malloc(bytes) : nullptr;
    }
    static inline std::atomic<int> s_left{0};
    SearchHits::PieceAllocator m_before;
};

} // namespace vyp::test
