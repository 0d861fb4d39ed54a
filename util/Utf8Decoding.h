// Reading UTF-8 one character at a time, for the few places that need code points rather than
// bytes (case folding, conversion to Windows-1250, the collation sketch). Inline: it sits in
// loops over every character of a million names.
#pragma once

#include <cstddef>
#include <string_view>

namespace vyp {

inline bool IsUtf8Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Decodes the character at text[at] into code and returns its length in bytes; 0 (code
// unspecified) when the bytes there begin no valid UTF-8 character: a stray continuation, an
// overlong form, a surrogate, a value above U+10FFFF or a sequence cut short.
inline size_t DecodeUtf8(std::string_view text, size_t at, char32_t& code) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    size_t length = 0;
    char32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, lowest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - at < length)
        return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[at + k]);
        if (!IsUtf8Continuation(byte))
            return 0;
        code = (code << 6) | (byte & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace vyp
