// Sizes are stored in list files as decimal text and converted at each use as signed 64-bit
// integers, so files of 2 GiB and more and lists made elsewhere with negative sizes show as
// they are.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vyp {

// The value of a decimal integer text with an optional sign, or nothing when the text is not
// such a number or lies outside the signed 64-bit range.
std::optional<int64_t> TryParseSizeText(std::string_view text);

// As TryParseSizeText, but throws VypisnikError "'TEXT' is not a valid integer value".
int64_t ParseSizeText(std::string_view text);

} // namespace vyp
