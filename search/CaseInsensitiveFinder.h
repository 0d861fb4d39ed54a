// Finds a byte string in a buffer with ASCII letters compared without regard to case (every
// other byte exactly). It scans for two of the needle's rarest bytes at once, sixty-four
// positions a step with AVX-512 or thirty-two with AVX2 (checked at run time), else sixteen,
// and checks the whole needle
// only where both fit, which keeps the search of a text that occurs rarely close to the speed
// of reading memory.
#pragma once

#include "util/Encoding.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vyp {

class CaseInsensitiveFinder {
public:
    // needle must not be empty.
    explicit CaseInsensitiveFinder(std::string_view needle);

    // The first match that starts in [begin, end) and ends by end, or nullptr.
    const char* Find(const char* begin, const char* end) const;

    // The scans by the instructions they use: Find takes the widest the processor has. Named
    // for the tests, which run each of them.
    enum class Scan { Sse2, Avx2, Avx512 };
    // Whether this build and processor can run scan.
    static bool CanRun(Scan scan);
    // Find by scan, which CanRun must allow.
    const char* FindWith(Scan scan, const char* begin, const char* end) const;

private:
    bool MatchesAt(const char* p) const;
    const char* FindSse2(const char* begin, const char* end) const;
    const char* FindAvx2(const char* begin, const char* end) const;
    const char* FindAvx512(const char* begin, const char* end) const;
    const char* FindScalar(const char* begin, const char* end) const;

    std::string m_upper; // the needle with a-z as A-Z
    size_t m_rare1 = 0;  // offsets of the two rare bytes in the needle
    size_t m_rare2 = 0;
};

} // namespace vyp
