#include "search/SearchHitReader.h"

#include "lists/ListFile.h"
#include "lists/ListRegionReader.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vyp {

namespace {
// The end of the line from p (its CR or LF, or end), where its first field ends (at its first
// TAB, or at the line's end) and whether it holds a backslash: one pass over the line where the
// three were three, as a sort reads every row back.
const char* ScanLine(const char* p, const char* end, const char*& fieldEnd, bool& backslash) {
    fieldEnd = nullptr;
    backslash = false;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i slash = _mm_set1_epi8('\\');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const auto ends = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))));
        // The bytes before the line's end, where one is in these sixteen.
        const unsigned inLine = ends != 0 ? (ends & (0U - ends)) - 1 : 0xFFFFU;
        const auto tabs =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab))) & inLine;
        const auto slashes =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, slash))) & inLine;
        backslash = backslash || slashes != 0;
        if (fieldEnd == nullptr && tabs != 0)
            fieldEnd = p + std::countr_zero(tabs);
        if (ends != 0) {
            p += std::countr_zero(ends);
            if (fieldEnd == nullptr)
                fieldEnd = p;
            return p;
        }
    }
#endif
    for (; p < end && *p != '\r' && *p != '\n'; ++p) {
        if (*p == '\\')
            backslash = true;
        else if (*p == '\t' && fieldEnd == nullptr)
            fieldEnd = p;
    }
    if (fieldEnd == nullptr)
        fieldEnd = p;
    return p;
}
} // namespace

void SearchHitReader::Close() {
    m_file.Close();
    m_openList = -1;
    m_openSame = false;
    for (Window* window : {&m_lines, &m_folderLines}) {
        window->mapped.Close();
        window->empty = true;
    }
    m_folderOffset = -1;
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

bool SearchHitReader::Fill(Window& window, int64_t from, int64_t size, bool mapped) {
    if (!Whole())
        return false; // before a window met cut short goes, and what it told with it
    window.start = from;
    window.empty = true;
    if (mapped && window.mapped.Map(m_file, from, static_cast<size_t>(size))) {
        window.data = window.mapped.Bytes().data();
        window.held = static_cast<int64_t>(window.mapped.Bytes().size());
    } else {
        window.mapped.Close();
        window.buffer.resize(static_cast<size_t>(size));
        size_t done = 0;
        while (done < window.buffer.size()) {
            size_t now = 0;
            if (m_file.ReadAt(from + static_cast<int64_t>(done), window.buffer.data() + done,
                              window.buffer.size() - done, now) != 0 ||
                now == 0)
                break;
            done += now;
        }
        window.data = window.buffer.data();
        window.held = static_cast<int64_t>(done);
    }
    // Shorter than its stamp says: not the file the search read, for good.
    window.empty = window.held < size;
    if (window.empty)
        m_openSame = false;
    return !window.empty;
}

bool SearchHitReader::LineAt(Window& window, int64_t offset, Line& line) {
    constexpr int64_t kSmall = 4096;    // a line read here and there
    constexpr int64_t kLarge = 1 << 20; // lines read on in file order
    const int64_t fileSize = m_hits.File(m_openList).stamp.size;
    if (offset < 0 || offset >= fileSize)
        return false;
    // The byte before the line tells whether a line starts there.
    const int64_t from = offset > 0 ? offset - 1 : 0;
    for (;;) {
        const int64_t held = window.held;
        if (!window.empty && from >= window.start && offset < window.start + held) {
            const char* begin = window.data + (offset - window.start);
            const char* end = window.data + held;
            const char* fieldEnd = nullptr;
            bool backslash = false;
            const char* lineEnd = ScanLine(begin, end, fieldEnd, backslash);
            if (lineEnd != end || window.start + held >= fileSize) {
                if (offset > 0 && begin[-1] != '\n' && begin[-1] != '\r')
                    return false;
                line.text = std::string_view(begin, static_cast<size_t>(lineEnd - begin));
                line.firstField = std::string_view(begin, static_cast<size_t>(fieldEnd - begin));
                line.backslash = backslash;
                return true;
            }
        }
        int64_t size = kSmall;
        if (!window.empty && from >= window.start && from <= window.start + held + kLarge)
            size = kLarge;
        if (!window.empty && from == window.start)
            size = std::max(size, 2 * held); // the line did not fit
        // Windows read on in file order are mapped where the system maps files; one read here
        // and there costs a call to the system either way.
        const bool mapped = size >= kLarge;
        if (!Fill(window, from, std::min(size, fileSize - from), mapped))
            return false;
    }
}

bool SearchHitReader::Fetch(size_t i, Line& line, std::string_view& prefix) {
    prefix = {};
    const int64_t offset = m_hits.LineOffset(i);
    if (!OpenList(m_hits.ListIndex(i)) || !LineAt(m_lines, offset, line) || line.text.empty())
        return false;
    // The line must be one of the hit's kind: the header or a folder line for a folder row.
    const bool folderLine = offset == 0 || line.backslash;
    if (m_hits.IsFolder(i))
        return folderLine && Whole();
    if (folderLine)
        return false;
    const int64_t folderOffset = m_hits.FolderOffset(i);
    if (folderOffset != m_folderOffset) {
        // Its views stay good while m_folderLines is not filled again, which only this does.
        m_folderOffset = -1;
        if (!LineAt(m_folderLines, folderOffset, m_folder) ||
            (folderOffset != 0 && !m_folder.backslash))
            return false;
        m_folderOffset = folderOffset;
    }
    prefix = m_folder.firstField;
    return Whole();
}

bool SearchHitReader::Whole() {
    // A window met cut short holds zeros from where the file ends now: the list changed.
    if (m_lines.mapped.CutShort() || m_folderLines.mapped.CutShort())
        m_openSame = false;
    return m_openSame;
}

bool SearchHitReader::Read(size_t i, SearchRows& rows) {
    Line line;
    std::string_view prefix;
    const int32_t list = m_hits.ListIndex(i);
    if (!Fetch(i, line, prefix)) {
        rows.AddLine(list, m_hits.IsFolder(i), {}, {});
        return false;
    }
    const size_t row = rows.size();
    rows.AddLine(list, m_hits.IsFolder(i), prefix, line.text);
    if (!Whole()) { // cut short while it was copied
        rows.Truncate(row);
        rows.AddLine(list, m_hits.IsFolder(i), {}, {});
        return false;
    }
    rows.DecodeFrom(row, m_hits.File(list).encoding);
    return true;
}

bool SearchHitReader::SizeText(size_t i, std::string_view& size) {
    Line line;
    std::string_view prefix;
    size = {};
    if (!Fetch(i, line, prefix))
        return false;
    const ListLineFields fields = SplitListLine(line.text);
    if (fields.count > 1)
        size = fields.field[1];
    return true;
}

bool SearchHitReader::AppendPath(size_t i, std::string& out) {
    Line line;
    std::string_view prefix;
    if (!Fetch(i, line, prefix))
        return false;
    const TextEncoding encoding = m_hits.File(m_hits.ListIndex(i)).encoding;
    const size_t before = out.size();
    AppendAsUtf8(prefix, encoding, out);
    AppendAsUtf8(line.firstField, encoding, out);
    if (!Whole()) { // cut short while it was copied
        out.resize(before);
        return false;
    }
    return true;
}

bool SearchHitReader::AppendFileName(size_t i, std::string& name) {
    Line line;
    const int64_t offset = m_hits.LineOffset(i);
    if (!OpenList(m_hits.ListIndex(i)) || !LineAt(m_lines, offset, line) || line.text.empty() ||
        offset == 0 || line.backslash || !Whole())
        return false;
    const size_t before = name.size();
    AppendAsUtf8(line.firstField, m_hits.File(m_hits.ListIndex(i)).encoding, name);
    if (!Whole()) { // cut short while it was copied
        name.resize(before);
        return false;
    }
    return true;
}

bool SearchHitReader::AppendPathParts(size_t i, std::string* folder, std::string& name) {
    Line line;
    std::string_view prefix;
    if (!Fetch(i, line, prefix))
        return false;
    const TextEncoding encoding = m_hits.File(m_hits.ListIndex(i)).encoding;
    const bool isFolder = m_hits.IsFolder(i);
    const size_t folderBefore = folder != nullptr ? folder->size() : 0;
    const size_t nameBefore = name.size();
    if (folder != nullptr)
        AppendAsUtf8(isFolder ? line.firstField : prefix, encoding, *folder);
    if (!isFolder)
        AppendAsUtf8(line.firstField, encoding, name);
    if (!Whole()) { // cut short while they were copied
        if (folder != nullptr)
            folder->resize(folderBefore);
        name.resize(nameBefore);
        return false;
    }
    return true;
}

} // namespace vyp
