#include "lists/ListRegionReader.h"

#include "lists/ListFile.h"
#include "platform/SystemError.h"
#include "util/Errors.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vyp {

namespace {
constexpr size_t kRegionSize = 1 << 17;

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

// The last "\" in [begin, end), or nullptr.
const char* LastBackslash(const char* begin, const char* end) {
    for (const char* p = end; p > begin;) {
        --p;
        if (*p == '\\')
            return p;
    }
    return nullptr;
}
} // namespace

const char* LineStartBefore(const char* floor, const char* p) {
    // Sixteen bytes at a time, back from p: a search that finds every line asks this for each.
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; p - floor >= 16; p -= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 16));
        const auto ends = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))));
        if (ends != 0)
            return p - 16 + (32 - std::countl_zero(ends)); // just past the last line end
    }
#endif
    while (p > floor && !IsLineBreak(p[-1]))
        --p;
    return p;
}

const char* LineEndAfter(const char* p, const char* end) {
    // Sixteen bytes compared at a time: list lines are some fifty bytes long, and a search that
    // finds every line asks this for each.
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const auto ends = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))));
        if (ends != 0)
            return p + std::countr_zero(ends);
    }
#endif
    while (p < end && !IsLineBreak(*p))
        ++p;
    return p;
}

const char* PastLineBreak(const char* p, const char* end) {
    if (p < end && *p == '\r' && p + 1 < end && p[1] == '\n')
        return p + 2;
    return p < end ? p + 1 : end;
}

std::string_view FirstField(std::string_view line) {
    return line.substr(0, line.find('\t'));
}

ListRegionReader::ListRegionReader(const std::string& path)
    : m_path(path), m_file(OpenForReading(path)) {
    m_file.Stamp(m_stamp);
    m_buffer.resize(kRegionSize);
    ReadHeader();
    StartMapped();
}

void ListRegionReader::StartMapped() {
    // The header came through the buffer; the lines after it come from the mapping where there
    // is one, and the buffer's other bytes are not used.
    m_mapping = m_mapped.Start(m_file, m_bufferOffset + static_cast<int64_t>(m_consumed), -1);
}

void ListRegionReader::Restart() {
    m_positional = true;
    m_readOffset = 0;
    m_bufferOffset = 0;
    m_filled = 0;
    m_consumed = 0;
    m_atEnd = false;
    m_lastLines = {};
    ReadHeader();
    StartMapped();
}

void ListRegionReader::ReadHeader() {
    // The header: everything up to the first line end, which may have to wait for more bytes
    // (and a CR at the end of what was read for its LF).
    size_t end = 0;
    for (;;) {
        const char* begin = m_buffer.data();
        end = static_cast<size_t>(LineEndAfter(begin, begin + m_filled) - begin);
        if (m_atEnd || (end < m_filled && !(m_buffer[end] == '\r' && end + 1 == m_filled)))
            break;
        Fill();
    }
    m_hasHeaderLine = m_filled > 0;
    m_header.assign(m_buffer.data(), end);
    CheckEncoding(m_header);
    m_consumed = static_cast<size_t>(
        PastLineBreak(m_buffer.data() + end, m_buffer.data() + m_filled) - m_buffer.data());
    m_folder.assign(FirstField(m_header));
    m_folderOffset = 0;
}

ListRegionReader::ListRegionReader(const std::string& path, int64_t offset)
    : m_path(path), m_file(OpenForReading(path)), m_bufferOffset(offset), m_positional(true),
      m_readOffset(offset), m_folderOffset(-1) {
    m_file.Stamp(m_stamp);
    m_buffer.resize(kRegionSize);
}

void ListRegionReader::Fill() {
    if (m_filled == m_buffer.size())
        m_buffer.resize(m_buffer.size() * 2); // a line longer than the buffer
    size_t n = 0;
    if (m_positional) {
        if (const int err = m_file.ReadAt(m_readOffset, m_buffer.data() + m_filled,
                                          m_buffer.size() - m_filled, n))
            throw VypisnikError(FileOpenErrorText(m_path, err));
        m_readOffset += static_cast<int64_t>(n);
    } else {
        n = ReadSome(m_file, m_buffer.data() + m_filled, m_buffer.size() - m_filled, m_path);
    }
    m_atEnd = n == 0;
    m_filled += n;
}

void ListRegionReader::CheckEncoding(std::string_view bytes) {
    if (!EncodingKnown())
        m_validUtf8 = IsValidUtf8(bytes);
}

void ListRegionReader::NoteLastFolder() {
    if (const char* lineStart = LastFolderLine(m_lastLines, m_folder))
        m_folderOffset = m_lastOffset + (lineStart - m_lastLines.data());
    m_lastLines = {};
}

void ListRegionReader::HandOut(ListRegion& region, std::string_view lines, int64_t offset) {
    CheckEncoding(lines);
    region.lines = lines;
    region.folder = m_folder;
    region.folderOffset = m_folderOffset;
    region.offset = offset;
    m_lastLines = lines;
    m_lastOffset = offset;
}

bool ListRegionReader::Next(ListRegion& region) {
    NoteLastFolder();
    if (m_mapping) {
        std::string_view lines;
        int64_t offset = 0;
        const bool more = m_mapped.Next(lines, offset);
        // What was read of the lines handed out before, and of these, holds zeros where the
        // file was cut short: the list changed while it was read.
        if (m_mapped.CutShort())
            throw VypisnikError(FileOpenErrorText(m_path, kErrorCutShort));
        if (more) {
            HandOut(region, lines, offset);
            if (m_mapped.AtEnd())
                m_checkedToEnd = true;
            return true;
        }
        if (!m_mapped.Failed()) {
            m_checkedToEnd = true;
            return false;
        }
        // The rest is read through the buffer.
        m_mapping = false;
        m_positional = true;
        m_readOffset = m_mapped.Position();
        m_bufferOffset = m_readOffset;
        m_filled = 0;
        m_consumed = 0;
        m_atEnd = false;
    }
    // What was handed out goes; an unfinished line moves to the front.
    std::memmove(m_buffer.data(), m_buffer.data() + m_consumed, m_filled - m_consumed);
    m_bufferOffset += static_cast<int64_t>(m_consumed);
    m_filled -= m_consumed;
    m_consumed = 0;
    for (;;) {
        const size_t complete =
            m_atEnd ? m_filled : WholeLinesLength(std::string_view(m_buffer.data(), m_filled));
        if (complete > 0 && (m_atEnd || complete > m_buffer.size() / 2)) {
            m_consumed = complete;
            HandOut(region, std::string_view(m_buffer.data(), complete), m_bufferOffset);
            if (m_atEnd)
                m_checkedToEnd = true;
            return true;
        }
        if (m_atEnd) {
            m_checkedToEnd = true;
            return false;
        }
        Fill();
    }
}

TextEncoding ListRegionReader::CheckAhead() {
    if (EncodingKnown())
        return Encoding();
    if (m_mapping) {
        // Nothing lies ahead of the regions handed out but the rest of the file.
        bool valid = true;
        if (const int err = CheckUtf8From(m_file, m_mapped.Position(), {}, valid))
            throw VypisnikError(FileOpenErrorText(m_path, err));
        m_validUtf8 = valid;
        m_checkedToEnd = valid;
        return Encoding();
    }
    // From here the file is read at offsets: the check and the regions after it each read the
    // lines ahead from where they lie.
    if (!m_positional) {
        m_positional = true;
        m_readOffset = m_bufferOffset + static_cast<int64_t>(m_filled);
    }
    // What was read but not handed out yet, then the rest of the file.
    bool valid = true;
    if (const int err = CheckUtf8From(
            m_file, m_readOffset, std::string(m_buffer, m_consumed, m_filled - m_consumed), valid))
        throw VypisnikError(FileOpenErrorText(m_path, err));
    m_validUtf8 = valid;
    if (!m_validUtf8)
        return Encoding();
    m_checkedToEnd = true;
    return Encoding();
}

TextEncoding ListRegionReader::EncodingOfWholeFile() {
    ListRegion region;
    while (m_validUtf8 && Next(region)) {
    }
    return Encoding();
}

int CheckUtf8From(InputFile& file, int64_t offset, std::string ahead, bool& valid) {
    size_t held = ahead.size();
    ahead.resize(std::max(held, kRegionSize) * 2);
    for (;;) {
        size_t n = 0;
        if (const int err = file.ReadAt(offset, ahead.data() + held, ahead.size() - held, n))
            return err;
        offset += static_cast<int64_t>(n);
        held += n;
        size_t checked = held;
        if (n != 0) {
            while (checked > 0 && static_cast<unsigned char>(ahead[checked - 1]) >= 0x80)
                --checked;
        }
        valid = IsValidUtf8(std::string_view(ahead.data(), checked));
        if (!valid || n == 0)
            return 0;
        if (checked == 0 && held == ahead.size())
            ahead.resize(ahead.size() * 2); // a piece of nothing but bytes above 0x7F
        std::memmove(ahead.data(), ahead.data() + checked, held - checked);
        held -= checked;
    }
}

size_t WholeLinesLength(std::string_view filled) {
    size_t i = filled.size();
    if (i > 0 && filled[i - 1] == '\r')
        --i; // its LF may follow
    while (i > 0 && !IsLineBreak(filled[i - 1]))
        --i;
    return i;
}

const char* LastFolderLine(std::string_view lines, std::string& folder) {
    const char* begin = lines.data();
    const char* end = begin + lines.size();
    const char* slash = LastBackslash(begin, end);
    if (slash == nullptr)
        return nullptr;
    const char* lineStart = LineStartBefore(begin, slash);
    folder.assign(FirstField(
        std::string_view(lineStart, static_cast<size_t>(LineEndAfter(slash, end) - lineStart))));
    return lineStart;
}

} // namespace vyp
