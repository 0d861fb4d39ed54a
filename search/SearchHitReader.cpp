#include "search/SearchHitReader.h"

#include "lists/ListRegionReader.h"

#include <algorithm>
#include <cstring>

namespace vyp {

namespace {
bool HoldsBackslash(std::string_view line) {
    return std::memchr(line.data(), '\\', line.size()) != nullptr;
}
} // namespace

void SearchHitReader::Close() {
    m_file.Close();
    m_openList = -1;
    m_openSame = false;
    m_lines.empty = true;
    m_folderLines.empty = true;
}

bool SearchHitReader::OpenList(int32_t list) {
    if (list == m_openList)
        return m_openSame;
    Close();
    m_openList = list;
    const SearchedListFile& file = m_hits.File(list);
    FileStamp stamp;
    m_openSame = file.read && m_file.Open(file.path, false) == 0 && m_file.Stamp(stamp) == 0 &&
                 stamp == file.stamp;
    if (!m_openSame)
        m_file.Close();
    return m_openSame;
}

bool SearchHitReader::LineAt(Window& window, int64_t offset, std::string_view& line) {
    constexpr int64_t kSmall = 4096;    // a line read here and there
    constexpr int64_t kLarge = 1 << 20; // lines read on in file order
    const int64_t fileSize = m_hits.File(m_openList).stamp.size;
    if (offset < 0 || offset >= fileSize)
        return false;
    // The byte before the line tells whether a line starts there.
    const int64_t from = offset > 0 ? offset - 1 : 0;
    for (;;) {
        const auto held = static_cast<int64_t>(window.bytes.size());
        if (!window.empty && from >= window.start && offset < window.start + held) {
            const char* base = window.bytes.data();
            const char* begin = base + (offset - window.start);
            const char* end = base + held;
            const char* lineEnd = LineEndAfter(begin, end);
            if (lineEnd != end || window.start + held >= fileSize) {
                if (offset > 0 && begin[-1] != '\n' && begin[-1] != '\r')
                    return false;
                line = std::string_view(begin, static_cast<size_t>(lineEnd - begin));
                return true;
            }
        }
        int64_t size = kSmall;
        if (!window.empty && from >= window.start && from <= window.start + held + kLarge)
            size = kLarge;
        if (!window.empty && from == window.start)
            size = std::max(size, 2 * held); // the line did not fit
        size = std::min(size, fileSize - from);
        window.bytes.resize(static_cast<size_t>(size));
        size_t done = 0;
        while (done < window.bytes.size()) {
            size_t now = 0;
            if (m_file.ReadAt(from + static_cast<int64_t>(done), window.bytes.data() + done,
                              window.bytes.size() - done, now) != 0 ||
                now == 0)
                break;
            done += now;
        }
        window.start = from;
        window.empty = false;
        if (done < window.bytes.size()) {
            // Shorter than its stamp says: not the file the search read.
            window.empty = true;
            return false;
        }
    }
}

bool SearchHitReader::Fetch(size_t i, std::string_view& line, std::string_view& prefix) {
    prefix = {};
    const int64_t offset = m_hits.LineOffset(i);
    if (!OpenList(m_hits.ListIndex(i)) || !LineAt(m_lines, offset, line) || line.empty())
        return false;
    // The line must be one of the hit's kind: the header or a folder line for a folder row.
    const bool folderLine = offset == 0 || HoldsBackslash(line);
    if (m_hits.IsFolder(i))
        return folderLine;
    if (folderLine)
        return false;
    const int64_t folderOffset = m_hits.FolderOffset(i);
    std::string_view folder;
    if (!LineAt(m_folderLines, folderOffset, folder) ||
        (folderOffset != 0 && !HoldsBackslash(folder)))
        return false;
    prefix = FirstField(folder);
    return true;
}

bool SearchHitReader::Read(size_t i, SearchRows& rows) {
    std::string_view line;
    std::string_view prefix;
    const int32_t list = m_hits.ListIndex(i);
    if (!Fetch(i, line, prefix)) {
        rows.AddLine(list, m_hits.IsFolder(i), {}, {});
        return false;
    }
    const size_t row = rows.size();
    rows.AddLine(list, m_hits.IsFolder(i), prefix, line);
    rows.DecodeFrom(row, m_hits.File(list).encoding);
    return true;
}

bool SearchHitReader::AppendPath(size_t i, std::string& out) {
    std::string_view line;
    std::string_view prefix;
    if (!Fetch(i, line, prefix))
        return false;
    const TextEncoding encoding = m_hits.File(m_hits.ListIndex(i)).encoding;
    AppendAsUtf8(prefix, encoding, out);
    AppendAsUtf8(FirstField(line), encoding, out);
    return true;
}

bool SearchHitReader::AppendFileName(size_t i, std::string& name) {
    std::string_view line;
    const int64_t offset = m_hits.LineOffset(i);
    if (!OpenList(m_hits.ListIndex(i)) || !LineAt(m_lines, offset, line) || line.empty() ||
        offset == 0 || HoldsBackslash(line))
        return false;
    AppendAsUtf8(FirstField(line), m_hits.File(m_hits.ListIndex(i)).encoding, name);
    return true;
}

bool SearchHitReader::AppendPathParts(size_t i, std::string* folder, std::string& name) {
    std::string_view line;
    std::string_view prefix;
    if (!Fetch(i, line, prefix))
        return false;
    const TextEncoding encoding = m_hits.File(m_hits.ListIndex(i)).encoding;
    const bool isFolder = m_hits.IsFolder(i);
    if (folder != nullptr)
        AppendAsUtf8(isFolder ? FirstField(line) : prefix, encoding, *folder);
    if (!isFolder)
        AppendAsUtf8(FirstField(line), encoding, name);
    return true;
}

} // namespace vyp
