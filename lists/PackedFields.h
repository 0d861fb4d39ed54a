// Texts kept one after the other in one buffer: a record stores where its first text starts and
// the length of each, which costs a few bytes per record instead of a string object per text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vyp {

template <size_t N>
std::string_view PackedField(const std::string& text, size_t offset, const uint32_t (&lengths)[N],
                             size_t field) {
    for (size_t f = 0; f < field; ++f)
        offset += lengths[f];
    return std::string_view(text).substr(offset, lengths[field]);
}

} // namespace vyp
