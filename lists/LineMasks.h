// The bit masks that ForEachScannedLineOf reads lines from (TABs, CR, LF and "\" of each block
// of 64 bytes), found for many blocks at once by the widest compares the processor has: with
// AVX-512 a block is one load and four compares, where the plain way takes sixteen of each.
// Chosen at run time; the plain way for other processors and as the tests' reference.
#pragma once

#include "lists/LineScan.h"

#include <cstddef>
#include <string_view>

namespace vyp {

enum class LineMaskWay { Plain, Avx2, Avx512 };

// Whether this build and processor can find masks by way.
bool CanFindLineMasks(LineMaskWay way);
// The quickest way this processor has.
LineMaskWay FastestLineMasks();

// The masks of every block of 64 bytes of bytes, (bytes.size() + 63) / 64 of them, into
// masks; bytes past the end count as nothing special. way must be one CanFindLineMasks allows.
void FindLineMasks(LineMaskWay way, std::string_view bytes, line_scan::BlockMasks* masks);

} // namespace vyp
