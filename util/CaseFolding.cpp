#include "util/CaseFolding.h"

#include "util/Utf8Decoding.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace vyp {

namespace {

// Eight bytes, so a form is stored in one step: its UTF-8, then its length.
struct FoldedForm {
    char bytes[7]{};
    unsigned char length = 0;
};

#include "util/CaseFoldingTable.inc"

constexpr uint64_t kHighBits = 0x8080808080808080ULL;

constexpr unsigned FormOf(char32_t code) {
    if (code >= kFoldingLimit)
        return 0;
    return kFoldingFormOf[kFoldingBlockOf[code >> kFoldingBlockBits]]
                         [code & ((1U << kFoldingBlockBits) - 1)];
}

// Every character of one or two UTF-8 bytes (ASCII, Latin with accents, Greek, Cyrillic: most
// letters of names) by its code point, with its folded form, or itself where it does not fold:
// such a character is written in one step whichever it is, so a name that mixes ASCII and
// accented letters costs no guess of the processor per letter.
struct ShortForms {
    FoldedForm form[0x800];
    constexpr ShortForms() : form() {
        for (char32_t code = 0; code < 0x800; ++code) {
            if (const unsigned folded = FormOf(code)) {
                form[code] = kFoldedForms[folded];
            } else if (code < 0x80) {
                form[code].bytes[0] = static_cast<char>(code);
                form[code].length = 1;
            } else {
                form[code].bytes[0] = static_cast<char>(0xC0 | (code >> 6));
                form[code].bytes[1] = static_cast<char>(0x80 | (code & 0x3F));
                form[code].length = 2;
            }
        }
    }
};
constexpr ShortForms kShortForms;

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
        // Most names are mostly ASCII: eight bytes at a time while they are, and the ASCII
        // bytes before the first that is not in one step too (accented names have one every
        // few letters). Bytes from the first high one on may come out wrong, as adding can
        // carry into them; they are written over.
        if (end - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            const uint64_t high = word & kHighBits;
            const size_t ascii = high == 0 ? 8 : static_cast<size_t>(std::countr_zero(high)) / 8;
            if (ascii > 0) {
                word = LowerAsciiWord(word);
                std::memcpy(out, &word, 8);
                p += ascii;
                out += ascii;
                continue;
            }
        }
        // One character of one or two bytes, without a branch on which it is.
        const unsigned c = *p;
        const unsigned next = end - p >= 2 ? p[1] : 0;
        const bool two = c - 0xC2U <= 0xDFU - 0xC2U && (next & 0xC0U) == 0x80U;
        if (c < 0x80 || two) {
            const unsigned code = two ? (c & 0x1FU) << 6 | (next & 0x3FU) : c;
            std::memcpy(out, &kShortForms.form[code], 8);
            out += kShortForms.form[code].length;
            p += two ? 2 : 1;
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
