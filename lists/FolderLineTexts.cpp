#include "lists/FolderLineTexts.h"

#include <array>

namespace vyp {

namespace {

// What follows a record's path: the stamp packed, or the stamp as text (fields split by TAB).
// Neither byte can be part of a field, so the path ends at the first of them.
constexpr char kPacked = '\n';
constexpr char kAsText = '\t';

// The characters a packed stamp can hold, a nibble each; a field ends with kEndOfField and an odd
// count of nibbles is padded with kPadding.
constexpr std::string_view kNibbleChars = "0123456789.:-";
constexpr uint8_t kEndOfField = 13;
constexpr uint8_t kPadding = 15; // above kEndOfField: read as the end of the last field

int NibbleOf(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    switch (c) {
    case '.':
        return 10;
    case ':':
        return 11;
    case '-':
        return 12;
    default:
        return -1;
    }
}

bool Packable(const std::array<std::string_view, 3>& stamp) {
    for (std::string_view field : stamp)
        for (char c : field)
            if (NibbleOf(c) < 0)
                return false;
    return true;
}

void Pack(const std::array<std::string_view, 3>& stamp, std::string& out) {
    int pending = -1; // the high nibble of a byte not yet written
    auto put = [&](int nibble) {
        if (pending < 0) {
            pending = nibble;
            return;
        }
        out.push_back(static_cast<char>(pending << 4 | nibble));
        pending = -1;
    };
    for (size_t f = 0; f < stamp.size(); ++f) {
        if (f > 0)
            put(kEndOfField);
        for (char c : stamp[f])
            put(NibbleOf(c));
    }
    if (pending >= 0)
        put(kPadding);
}

std::string_view FieldOf(const ListLineFields& fields, int f) {
    return f < fields.count ? fields.field[f] : std::string_view();
}

bool IsPathEnd(char c) {
    return c == kPacked || c == kAsText;
}

} // namespace

void FolderLineTexts::Add(const ListLineFields& fields) {
    const std::string_view path = FieldOf(fields, 0);
    const std::string time = TimeForDisplay(FieldOf(fields, 3));
    const std::array<std::string_view, 3> stamp = {FieldOf(fields, 1), FieldOf(fields, 2), time};
    m_nonAscii = m_nonAscii || !IsAscii(path);
    m_records.Add([&](std::string& text) {
        text.append(path);
        if (Packable(stamp)) {
            text.push_back(kPacked);
            Pack(stamp, text);
            return;
        }
        for (std::string_view field : stamp) {
            text.append(1, kAsText).append(field);
            m_nonAscii = m_nonAscii || !IsAscii(field);
        }
    });
}

std::string_view FolderLineTexts::Path(size_t i) const {
    const std::string_view record = m_records.Record(i);
    size_t end = 0;
    while (!IsPathEnd(record[end]))
        ++end;
    return record.substr(0, end);
}

std::string FolderLineTexts::StampField(size_t i, size_t field) const {
    const std::string_view record = m_records.Record(i);
    std::string_view stamp = record.substr(Path(i).size());
    std::string text;
    if (stamp[0] == kAsText) {
        // Each field starts after its TAB; a damaged line's last field may hold more TABs.
        for (size_t f = 0; f <= field; ++f) {
            const size_t tab = stamp.find(kAsText);
            if (tab == std::string_view::npos)
                return text;
            stamp.remove_prefix(tab + 1);
        }
        return std::string(stamp.substr(0, stamp.find(kAsText)));
    }
    size_t f = 0;
    for (size_t b = 1; b < stamp.size(); ++b) {
        const auto byte = static_cast<uint8_t>(stamp[b]);
        for (const uint8_t nibble :
             {static_cast<uint8_t>(byte >> 4), static_cast<uint8_t>(byte & 15)}) {
            if (nibble >= kEndOfField) {
                if (f == field)
                    return text;
                ++f;
            } else if (f == field) {
                text.push_back(kNibbleChars[nibble]);
            }
        }
    }
    return text;
}

void FolderLineTexts::Decode(TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8 || !m_nonAscii)
        return;
    m_records.RewriteFrom(0, [encoding](std::string_view record, std::string& text) {
        size_t pathEnd = 0;
        while (!IsPathEnd(record[pathEnd]))
            ++pathEnd;
        AppendAsUtf8(record.substr(0, pathEnd), encoding, text);
        if (record[pathEnd] == kPacked)
            text.append(record.substr(pathEnd));
        else
            AppendAsUtf8(record.substr(pathEnd), encoding, text);
    });
}

void FolderLineTexts::ShrinkToFit() {
    m_records.ShrinkToFit();
}

} // namespace vyp
