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
    m_text.append(path);
    const std::string time = TimeForDisplay(FieldOf(fields, 3));
    const std::array<std::string_view, 3> stamp = {FieldOf(fields, 1), FieldOf(fields, 2), time};
    if (Packable(stamp)) {
        m_text.push_back(kPacked);
        Pack(stamp, m_text);
        m_nonAscii = m_nonAscii || !IsAscii(path);
    } else {
        const size_t from = m_text.size();
        for (std::string_view field : stamp)
            m_text.append(1, kAsText).append(field);
        m_nonAscii =
            m_nonAscii || !IsAscii(path) || !IsAscii(std::string_view(m_text).substr(from));
    }
    m_ends.Push(m_text.size());
}

std::string_view FolderLineTexts::Record(size_t i) const {
    const auto [start, end] = m_ends.BeforeAndAt(i);
    return std::string_view(m_text).substr(static_cast<size_t>(start),
                                           static_cast<size_t>(end - start));
}

std::string_view FolderLineTexts::Path(size_t i) const {
    const std::string_view record = Record(i);
    size_t end = 0;
    while (!IsPathEnd(record[end]))
        ++end;
    return record.substr(0, end);
}

std::string FolderLineTexts::StampField(size_t i, size_t field) const {
    const std::string_view record = Record(i);
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
    const std::string raw = std::move(m_text);
    const IncreasingOffsets rawEnds = std::move(m_ends);
    m_text = std::string();
    m_text.reserve(raw.size() + raw.size() / 4);
    m_ends = IncreasingOffsets();
    size_t start = 0;
    for (size_t i = 0; i < rawEnds.Count(); ++i) {
        const auto end = static_cast<size_t>(rawEnds[i]);
        const std::string_view record = std::string_view(raw).substr(start, end - start);
        size_t pathEnd = 0;
        while (!IsPathEnd(record[pathEnd]))
            ++pathEnd;
        AppendAsUtf8(record.substr(0, pathEnd), encoding, m_text);
        if (record[pathEnd] == kPacked)
            m_text.append(record.substr(pathEnd));
        else
            AppendAsUtf8(record.substr(pathEnd), encoding, m_text);
        m_ends.Push(m_text.size());
        start = end;
    }
}

void FolderLineTexts::ShrinkToFit() {
    m_text.shrink_to_fit();
    m_ends.ShrinkToFit();
}

} // namespace vyp
