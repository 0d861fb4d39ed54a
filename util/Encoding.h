// Text encodings of list files and "settings.ini". Files are written in UTF-8; a file that is
// not valid UTF-8 comes from Czech Windows settings and is read as Windows-1250, so old lists
// keep their accents. Everything the core hands to the windows is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace vyp {

enum class TextEncoding { Utf8, Windows1250 };

// Letter case as names are compared everywhere: only a-z and A-Z change, accents never do.
inline char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
inline char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when text holds no byte above 0x7F, so it reads the same in either encoding.
bool IsAscii(std::string_view text);

// True when bytes form valid UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Utf8 when bytes are valid UTF-8, else Windows1250.
TextEncoding DetectEncoding(std::string_view bytes);

// Appends bytes, read in the given encoding, to out as UTF-8.
void AppendAsUtf8(std::string_view bytes, TextEncoding encoding, std::string& out);
std::string ToUtf8(std::string_view bytes, TextEncoding encoding);

// Converts UTF-8 text into the given encoding. Returns false (out unspecified) when a character
// has no Windows-1250 form, or when utf8 is not valid UTF-8.
bool FromUtf8(std::string_view utf8, TextEncoding encoding, std::string& out);

} // namespace vyp
