#include "lists/MappedLineRegions.h"

#include "lists/ListRegionReader.h"

#include <algorithm>

namespace vyp {

bool MappedLineRegions::Start(const InputFile& file, int64_t start, int64_t end) {
    m_file = &file;
    m_position = start;
    m_end = end;
    m_atEnd = false;
    m_failed = false;
    m_nextWindow = m_windowBytes;
    FileStamp stamp;
    m_sizeAtStart = file.Stamp(stamp) == 0 ? stamp.size : -1;
    return MapAt(start, m_nextWindow);
}

bool MappedLineRegions::MapAt(int64_t offset, size_t count) {
    if (m_end >= 0)
        count = static_cast<size_t>(
            std::clamp<int64_t>(m_end - offset, 0, static_cast<int64_t>(count)));
    m_cutShort = CutShort();
    if (!m_window.Map(*m_file, offset, count))
        return false;
    m_windowOffset = offset;
    // Fewer bytes than asked for: the file ends there.
    m_windowAtEnd = m_window.Bytes().size() < count ||
                    (m_end >= 0 && offset + static_cast<int64_t>(count) >= m_end);
    if (m_window.Bytes().size() < count &&
        offset + static_cast<int64_t>(m_window.Bytes().size()) < m_sizeAtStart)
        m_cutShort = true; // the file ends before it did
    return true;
}

bool MappedLineRegions::Next(std::string_view& lines, int64_t& offset) {
    if (m_atEnd || m_failed)
        return false;
    for (;;) {
        const std::string_view window = m_window.Bytes();
        const std::string_view ahead =
            window.substr(static_cast<size_t>(m_position - m_windowOffset));
        size_t take = 0;
        if (m_windowAtEnd && ahead.size() <= m_regionBytes) {
            take = ahead.size();
        } else {
            take = WholeLinesLength(ahead.substr(0, m_regionBytes));
            if (take == 0) {
                // A line longer than a region goes alone, once its end is in the window.
                const char* begin = ahead.data();
                const char* end = begin + ahead.size();
                const char* lineEnd = LineEndAfter(begin, end);
                if (lineEnd != end && !(*lineEnd == '\r' && lineEnd + 1 == end && !m_windowAtEnd))
                    take = static_cast<size_t>(PastLineBreak(lineEnd, end) - begin);
                else if (m_windowAtEnd)
                    take = ahead.size();
            }
        }
        if (take > 0 || (m_windowAtEnd && ahead.empty())) {
            if (take == 0) {
                m_atEnd = true;
                Close();
                return false;
            }
            lines = ahead.substr(0, take);
            offset = m_position;
            m_position += static_cast<int64_t>(take);
            m_atEnd = m_windowAtEnd && take == ahead.size();
            return true;
        }
        // Nothing whole is left in the window: the next one starts at the unfinished line, wider
        // than this one while that line alone fills it.
        m_nextWindow = ahead.size() == window.size() ? std::max(m_nextWindow, window.size()) * 2
                                                     : m_windowBytes;
        if (!MapAt(m_position, m_nextWindow)) {
            m_failed = true;
            return false;
        }
    }
}

} // namespace vyp
