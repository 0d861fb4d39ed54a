// Letter case as names are compared when it does not count for every letter: full Unicode case
// folding (accented and non-Latin letters included, "ß" folding to "ss"), generated from
// Unicode's data by tools/make_case_folding.py. Accents are kept: "čísla" and "cisla" stay two
// names. Texts are UTF-8; bytes that are not valid UTF-8 are kept as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vyp {

// Eight ASCII bytes with A-Z made a-z, which is their folding: a byte gains 0x20 where it lies
// in 'A'..'Z', found by whether adding 0x80 - 'A' and 0x80 - 'Z' - 1 sets its top bit; no byte
// carries into the next. Bytes from the first one of 128 or more on may come out wrong.
inline uint64_t LowerAsciiWord(uint64_t word) {
    const uint64_t atLeastA = word + 0x3F3F3F3F3F3F3F3FULL;
    const uint64_t aboveZ = word + 0x2525252525252525ULL;
    return word | (((atLeastA ^ aboveZ) & 0x8080808080808080ULL) >> 2);
}

// The room WriteCaseFolded needs for a text of size bytes: a folded text is never more than
// three times as long as its original, and the writer stores eight bytes at a time.
constexpr size_t CaseFoldingRoom(size_t size) {
    return 3 * size + 8;
}

// Writes the folding of utf8 to out, which has room for CaseFoldingRoom(utf8.size()) bytes,
// and returns the end of the folded text (bytes after it are undefined).
char* WriteCaseFolded(std::string_view utf8, char* out);

// Appends the folding of utf8 to out.
void AppendCaseFolded(std::string_view utf8, std::string& out);
std::string CaseFolded(std::string_view utf8);

} // namespace vyp
