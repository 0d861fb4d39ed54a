#include "lists/ListFileStream.h"

#include "lists/Errors.h"
#include "lists/ListFile.h"

#include <algorithm>
#include <cstring>

namespace vyp {

namespace {
constexpr size_t kChunkSize = 1 << 20;
bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}
} // namespace

const char* LineStartBefore(const char* floor, const char* p) {
    while (p > floor && !IsLineBreak(p[-1]))
        --p;
    return p;
}

const char* LineEndAfter(const char* p, const char* end) {
    while (p < end && !IsLineBreak(*p))
        ++p;
    return p;
}

ListFileStream::ListFileStream(const std::string& path, bool checkEncoding)
    : m_path(path), m_checkEncoding(checkEncoding) {
    m_file = OpenForReading(path);
    m_buffer.resize(kChunkSize);
}

bool ListFileStream::NextRegion(std::string_view& region) {
    std::memmove(m_buffer.data(), m_buffer.data() + m_consumed, m_filled - m_consumed);
    m_filled -= m_consumed;
    m_consumed = 0;
    for (;;) {
        if (!m_atEnd) {
            if (m_filled == m_buffer.size())
                m_buffer.resize(m_buffer.size() * 2); // a line longer than the buffer
            const size_t n =
                ReadSome(m_file, m_buffer.data() + m_filled, m_buffer.size() - m_filled, m_path);
            m_atEnd = n == 0;
            m_filled += n;
        }
        size_t complete = m_filled;
        if (!m_atEnd) {
            // Only whole lines; a CR at the very end may still get its LF.
            size_t i = m_filled;
            if (i > 0 && m_buffer[i - 1] == '\r')
                --i;
            while (i > 0 && !IsLineBreak(m_buffer[i - 1]))
                --i;
            complete = i;
            if (complete == 0)
                continue;
        }
        if (complete == 0)
            return false;
        m_consumed = complete;
        region = std::string_view(m_buffer.data(), complete);
        if (m_checkEncoding && m_validUtf8)
            m_validUtf8 = IsValidUtf8(region);
        return true;
    }
}

TextEncoding ListFileStream::EncodingFromStart() const {
    // Checked piece by piece, never holding the file: only a character cut by a piece's end is
    // carried over to the next piece.
    std::string piece;
    char buffer[1 << 16];
    for (int64_t offset = 0;;) {
        size_t n = 0;
        if (const int err = m_file.ReadAt(offset, buffer, sizeof buffer, n))
            throw VypisnikError(FileOpenErrorText(m_path, err));
        if (n == 0)
            return DetectEncoding(piece);
        piece.append(buffer, n);
        offset += static_cast<int64_t>(n);
        // The last character may go on in the next piece: keep its lead and what follows.
        size_t complete = piece.size();
        for (size_t back = 1; back <= 3 && back <= piece.size(); ++back) {
            const auto byte = static_cast<unsigned char>(piece[piece.size() - back]);
            if ((byte & 0xC0) == 0x80)
                continue; // a continuation byte: look further back for its lead
            const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            if (length > back)
                complete = piece.size() - back;
            break;
        }
        if (!IsValidUtf8(std::string_view(piece).substr(0, complete)))
            return TextEncoding::Windows1250;
        piece.erase(0, complete);
    }
}

TextEncoding ListFileStream::EncodingOfWholeFile() {
    const bool check = m_checkEncoding;
    m_checkEncoding = true;
    std::string_view region;
    while (m_validUtf8 && NextRegion(region)) {
    }
    m_checkEncoding = check;
    return Encoding();
}

} // namespace vyp
