#include "util/CaseFolding.h"

#include "util/Utf8Decoding.h"

#include <cstdint>
#include <cstring>

namespace vyp {

namespace {

// Eight bytes, so a form is stored in one step: its UTF-8, then its length.
struct FoldedForm {
    char bytes[7];
    unsigned char length;
};

#include "util/CaseFoldingTable.inc"

constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// Eight ASCII bytes with A-Z made a-z: a byte gains 0x20 where it lies in 'A'..'Z', found by
// whether adding 0x80 - 'A' and 0x80 - 'Z' - 1 sets its top bit; no byte carries into the next.
uint64_t LowerAsciiWord(uint64_t word) {
    const uint64_t atLeastA = word + 0x3F3F3F3F3F3F3F3FULL;
    const uint64_t aboveZ = word + 0x2525252525252525ULL;
    return word | (((atLeastA ^ aboveZ) & kHighBits) >> 2);
}

constexpr unsigned FormOf(char32_t code) {
    if (code >= kFoldingLimit)
        return 0;
    return kFoldingFormOf[kFoldingBlockOf[code >> kFoldingBlockBits]]
                         [code & ((1U << kFoldingBlockBits) - 1)];
}

// Letters of two UTF-8 bytes (Latin with accents, Greek, Cyrillic: most letters of names that
// are not ASCII) by their two bytes' low bits, to find their forms in one step.
struct TwoByteForms {
    unsigned short form[2048];
    constexpr TwoByteForms() : form() {
        for (char32_t code = 0x80; code < 0x800; ++code)
            form[code] = static_cast<unsigned short>(FormOf(code));
    }
};
constexpr TwoByteForms kTwoByteForms;

char* WriteForm(unsigned form, char* out) {
    std::memcpy(out, &kFoldedForms[form], 8);
    return out + kFoldedForms[form].length;
}

} // namespace

char* WriteCaseFolded(std::string_view utf8, char* out) {
    const auto* begin = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* p = begin;
    const auto* end = p + utf8.size();
    while (p < end) {
        // Most names are mostly ASCII: eight bytes at a time while they are.
        if (end - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            if ((word & kHighBits) == 0) {
                word = LowerAsciiWord(word);
                std::memcpy(out, &word, 8);
                p += 8;
                out += 8;
                continue;
            }
        }
        const unsigned char c = *p;
        if (c >= 0xC2 && c <= 0xDF && end - p >= 2 && IsUtf8Continuation(p[1])) {
            const unsigned code = (c & 0x1FU) << 6 | (p[1] & 0x3FU);
            if (const unsigned form = kTwoByteForms.form[code]) {
                out = WriteForm(form, out);
            } else {
                std::memcpy(out, p, 2);
                out += 2;
            }
            p += 2;
            continue;
        }
        if (c < 0x80) {
            *out++ = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
            ++p;
            continue;
        }
        char32_t code = 0;
        const size_t length = DecodeUtf8(utf8, static_cast<size_t>(p - begin), code);
        if (length == 0) { // not UTF-8: kept as it is
            *out++ = static_cast<char>(c);
            ++p;
            continue;
        }
        if (const unsigned form = FormOf(code)) {
            out = WriteForm(form, out);
        } else {
            std::memcpy(out, p, length);
            out += length;
        }
        p += length;
    }
    return out;
}

void AppendCaseFolded(std::string_view utf8, std::string& out) {
    const size_t start = out.size();
    out.resize(start + CaseFoldingRoom(utf8.size()));
    char* end = WriteCaseFolded(utf8, out.data() + start);
    out.resize(static_cast<size_t>(end - out.data()));
}

std::string CaseFolded(std::string_view utf8) {
    std::string folded;
    AppendCaseFolded(utf8, folded);
    return folded;
}

} // namespace vyp
