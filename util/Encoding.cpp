#include "util/Encoding.h"

#include "util/Utf8Decoding.h"
#include "util/Utf8Validation.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vyp {

namespace {

// Unicode code points of the Windows-1250 bytes 0x80..0xFF. The five bytes the code page leaves
// undefined map to the code point of the same value, as Windows does.
constexpr std::array<char32_t, 128> kWindows1250 = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021, 0x0000, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

char32_t Windows1250ToCodePoint(unsigned char byte) {
    if (byte < 0x80)
        return byte;
    const char32_t cp = kWindows1250[byte - 0x80];
    return cp != 0 ? cp : byte;
}

void AppendCodePoint(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool IsValidUtf8(std::string_view bytes) {
    return IsValidUtf8Fast(bytes);
}

TextEncoding DetectEncoding(std::string_view bytes) {
    return IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1250;
}

void AppendAsUtf8(std::string_view bytes, TextEncoding encoding, std::string& out) {
    if (encoding == TextEncoding::Utf8) {
        out.append(bytes);
        return;
    }
    for (char c : bytes)
        AppendCodePoint(Windows1250ToCodePoint(static_cast<unsigned char>(c)), out);
}

std::string ToUtf8(std::string_view bytes, TextEncoding encoding) {
    std::string out;
    out.reserve(bytes.size());
    AppendAsUtf8(bytes, encoding, out);
    return out;
}

bool FromUtf8(std::string_view utf8, TextEncoding encoding, std::string& out) {
    out.clear();
    if (encoding == TextEncoding::Utf8) {
        if (!IsValidUtf8(utf8))
            return false;
        out.assign(utf8);
        return true;
    }
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp;
        const size_t length = DecodeUtf8(utf8, i, cp);
        if (length == 0)
            return false;
        i += length;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        bool found = false;
        for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
            if (Windows1250ToCodePoint(static_cast<unsigned char>(byte)) == cp) {
                out.push_back(static_cast<char>(byte));
                found = true;
                break;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

} // namespace vyp
