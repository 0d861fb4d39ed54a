#include "ReferenceFormat.h"

#include <array>

namespace vyp::fuzz {

namespace {

// RFC 3629, section 4: the lead bytes of each length and the range its second byte must fall
// in; every later byte is 80..BF.
struct SequenceRule {
    unsigned leadFrom, leadTo, secondFrom, secondTo;
    size_t length;
};
constexpr SequenceRule kSequenceRules[] = {
    {0x00, 0x7F, 0x00, 0x00, 1}, {0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3},
    {0xE1, 0xEC, 0x80, 0xBF, 3}, {0xED, 0xED, 0x80, 0x9F, 3}, {0xEE, 0xEF, 0x80, 0xBF, 3},
    {0xF0, 0xF0, 0x90, 0xBF, 4}, {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4},
};

unsigned ByteAt(std::string_view bytes, size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

// The length of the well-formed character that starts at bytes[at], 0 when none does.
size_t CharacterLength(std::string_view bytes, size_t at) {
    for (const SequenceRule& rule : kSequenceRules) {
        const unsigned lead = ByteAt(bytes, at);
        if (lead < rule.leadFrom || lead > rule.leadTo)
            continue;
        if (at + rule.length > bytes.size())
            return 0;
        for (size_t k = 1; k < rule.length; ++k) {
            const unsigned from = k == 1 ? rule.secondFrom : 0x80;
            const unsigned to = k == 1 ? rule.secondTo : 0xBF;
            if (ByteAt(bytes, at + k) < from || ByteAt(bytes, at + k) > to)
                return 0;
        }
        return rule.length;
    }
    return 0;
}

// The code page's chart, bytes 80 to FF, sixteen characters a row, as UTF-8 text. The five
// undefined bytes (81, 83, 88, 90, 98) and the two invisible ones (A0 no-break space, AD soft
// hyphen) are written as escapes.
constexpr const char* kWindows1250Rows[8] = {
    "€\xC2\x81‚\xC2\x83„…†‡\xC2\x88‰Š‹ŚŤŽŹ",
    "\xC2\x90‘’“”•–—\xC2\x98™š›śťžź",
    "\xC2\xA0ˇ˘Ł¤Ą¦§¨©Ş«¬\xC2\xAD®Ż",
    "°±˛ł´µ¶·¸ąş»Ľ˝ľż",
    "ŔÁÂĂÄĹĆÇČÉĘËĚÍÎĎ",
    "ĐŃŇÓÔŐÖ×ŘŮÚŰÜÝŢß",
    "ŕáâăäĺćçčéęëěíîď",
    "đńňóôőö÷řůúűüýţ˙",
};

// The characters of the chart, one UTF-8 text for each of the bytes 80..FF.
const std::array<std::string, 128>& Windows1250Characters() {
    static const std::array<std::string, 128> characters = [] {
        std::array<std::string, 128> all;
        size_t next = 0;
        for (const char* row : kWindows1250Rows) {
            const std::string_view text = row;
            for (size_t at = 0; at < text.size();) {
                const size_t length = CharacterLength(text, at);
                all.at(next++) = std::string(text.substr(at, length));
                at += length;
            }
        }
        if (next != all.size())
            __builtin_trap(); // the chart itself is wrong
        return all;
    }();
    return characters;
}

} // namespace

std::vector<std::string_view> ReferenceLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.push_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

std::vector<std::string_view> ReferenceFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == '\t') {
            fields.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    return fields;
}

bool ReferenceIsUtf8(std::string_view bytes) {
    for (size_t at = 0; at < bytes.size();) {
        const size_t length = CharacterLength(bytes, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string ReferenceWindows1250ToUtf8(std::string_view bytes) {
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i)
        text += ByteAt(bytes, i) < 0x80 ? std::string(1, bytes[i])
                                        : Windows1250Characters()[ByteAt(bytes, i) - 0x80];
    return text;
}

std::optional<std::string> ReferenceUtf8ToWindows1250(std::string_view utf8) {
    std::string bytes;
    for (size_t at = 0; at < utf8.size();) {
        const size_t length = CharacterLength(utf8, at);
        if (length == 0)
            return std::nullopt;
        const std::string_view character = utf8.substr(at, length);
        at += length;
        if (length == 1) {
            bytes += character;
            continue;
        }
        bool inChart = false;
        for (size_t b = 0; b < 128 && !inChart; ++b) {
            if (Windows1250Characters()[b] == character) {
                bytes.push_back(static_cast<char>(0x80 + b));
                inChart = true;
            }
        }
        if (!inChart)
            return std::nullopt;
    }
    return bytes;
}

std::string ReferenceText(std::string_view bytes) {
    return ReferenceIsUtf8(bytes) ? std::string(bytes) : ReferenceWindows1250ToUtf8(bytes);
}

char ReferenceLower(char c) {
    constexpr std::string_view upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    constexpr std::string_view lower = "abcdefghijklmnopqrstuvwxyz";
    const size_t letter = upper.find(c);
    return letter == std::string_view::npos ? c : lower[letter];
}

bool ReferenceSameIgnoringCase(std::string_view a, std::string_view b) {
    std::string lowerA, lowerB;
    for (char c : a)
        lowerA.push_back(ReferenceLower(c));
    for (char c : b)
        lowerB.push_back(ReferenceLower(c));
    return lowerA == lowerB;
}

std::optional<int64_t> ReferenceSizeValue(std::string_view text) {
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    while (text.size() > 1 && text[0] == '0')
        text.remove_prefix(1);
    // Compared as digit texts of one length, the limit of the range is plain to see.
    const std::string_view limit = negative ? "9223372036854775808" : "9223372036854775807";
    if (text.size() > limit.size() || (text.size() == limit.size() && text > limit))
        return std::nullopt;
    uint64_t magnitude = 0;
    for (char digit : text)
        magnitude = magnitude * 10 + static_cast<uint64_t>(digit - '0');
    return negative ? static_cast<int64_t>(~magnitude + 1) : static_cast<int64_t>(magnitude);
}

std::string ReferenceDisplayName(std::string_view field1) {
    if (field1.find('\\') == std::string_view::npos)
        return std::string(field1);
    // It ends before the final character and starts after the "\" before that, or at the start.
    const size_t end = field1.size() - 1;
    size_t start = end;
    while (start > 0 && field1[start - 1] != '\\')
        --start;
    return std::string(field1.substr(start, end - start));
}

std::string ReferenceExtension(std::string_view name) {
    size_t afterDot = name.size();
    while (afterDot > 0 && name[afterDot - 1] != '.')
        --afterDot;
    return afterDot == 0 ? std::string() : std::string(name.substr(afterDot));
}

std::string ReferenceShownTime(std::string_view stored) {
    std::string shown;
    for (char c : stored)
        shown.push_back(c == '.' ? ':' : c);
    return shown;
}

} // namespace vyp::fuzz
