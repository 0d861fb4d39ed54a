#include "search/ListSearch.h"

#include "lists/Errors.h"
#include "lists/Groups.h"
#include "lists/ListFile.h"
#include "search/CaseInsensitiveFinder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace vyp {

namespace {

constexpr size_t kChunkSize = 1 << 20;

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

std::string_view FirstField(std::string_view line) {
    return line.substr(0, line.find('\t'));
}

// The start of the line that holds p, looking back no further than floor.
const char* LineStart(const char* floor, const char* p) {
    while (p > floor && !IsLineBreak(p[-1]))
        --p;
    return p;
}

const char* LineEnd(const char* p, const char* end) {
    while (p < end && !IsLineBreak(*p))
        ++p;
    return p;
}

// Reads a whole open file from its start, to learn its encoding.
std::optional<TextEncoding> ReadEncoding(int fd) {
    std::string bytes;
    char buffer[1 << 16];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
        offset += n;
    }
    return DetectEncoding(bytes);
}

class FileSearcher {
public:
    FileSearcher(std::string_view text, SearchResult& result) : m_text(text), m_result(result) {}

    void Search(int32_t listIndex, const std::string& path);

private:
    void ScanRegion(const char* begin, const char* end, const CaseInsensitiveFinder& finder);
    void AddRow(std::string_view line, bool isHeader, std::string_view prefix);

    std::string_view m_text;
    SearchResult& m_result;
    std::string m_buffer;
    int32_t m_listIndex = 0;
    bool m_headerDone = false;
    std::string m_carriedPrefix; // the folder of lines that follow the last processed region
};

void FileSearcher::AddRow(std::string_view line, bool isHeader, std::string_view prefix) {
    const ListLineFields fields = SplitListLine(line);
    auto field = [&fields](int i) {
        return i < fields.count ? fields.field[i] : std::string_view();
    };
    const bool isFolder = isHeader || std::memchr(line.data(), '\\', line.size()) != nullptr;
    m_result.rows.emplace_back(m_listIndex, isFolder, isFolder ? std::string_view() : prefix,
                               field(0), field(1), field(2), field(3));
    if (isFolder)
        ++m_result.foldersFound;
    else
        ++m_result.filesFound;
}

void FileSearcher::ScanRegion(const char* begin, const char* end,
                              const CaseInsensitiveFinder& finder) {
    const char* p = begin;
    if (!m_headerDone) {
        // The header is line 0 by position; it is the folder of the root's files.
        m_headerDone = true;
        const char* headerEnd = LineEnd(begin, end);
        const std::string_view header(begin, static_cast<size_t>(headerEnd - begin));
        m_carriedPrefix.assign(FirstField(header));
        if (finder.Find(begin, headerEnd) != nullptr)
            AddRow(header, true, {});
        p = headerEnd;
    }
    const char* floor = p; // the region's lines start here (after the header, if it was in it)
    while (const char* match = finder.Find(p, end)) {
        const char* lineBegin = LineStart(floor, match);
        const char* lineEnd = LineEnd(match, end);
        const std::string_view line(lineBegin, static_cast<size_t>(lineEnd - lineBegin));
        std::string_view prefix = m_carriedPrefix;
        if (std::memchr(line.data(), '\\', line.size()) == nullptr) {
            // The folder of a file line is the nearest line above it that holds a "\".
            const auto* slash = static_cast<const char*>(
                ::memrchr(floor, '\\', static_cast<size_t>(lineBegin - floor)));
            if (slash != nullptr) {
                const char* folderLine = LineStart(floor, slash);
                prefix = FirstField(std::string_view(
                    folderLine, static_cast<size_t>(LineEnd(slash, end) - folderLine)));
            }
        }
        AddRow(line, false, prefix);
        p = lineEnd;
    }
    const auto* lastSlash =
        static_cast<const char*>(::memrchr(floor, '\\', static_cast<size_t>(end - floor)));
    if (lastSlash != nullptr) {
        const char* folderLine = LineStart(floor, lastSlash);
        m_carriedPrefix.assign(FirstField(std::string_view(
            folderLine, static_cast<size_t>(LineEnd(lastSlash, end) - folderLine))));
    }
}

void FileSearcher::Search(int32_t listIndex, const std::string& path) {
    m_listIndex = listIndex;
    m_headerDone = false;
    m_carriedPrefix.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = fd < 0 ? errno : (S_ISDIR(st.st_mode) ? EISDIR : errno);
        if (fd >= 0)
            ::close(fd);
        m_result.errors.push_back(FileOpenErrorText(path, err));
        return;
    }
    // Lines never hold a line end, so such a text matches nothing.
    if (m_text.find_first_of("\r\n") != std::string_view::npos) {
        ::close(fd);
        return;
    }
    std::optional<TextEncoding> encoding;
    std::string needle(m_text);
    if (!IsAscii(m_text)) {
        encoding = ReadEncoding(fd);
        if (!encoding || !FromUtf8(m_text, *encoding, needle)) {
            ::close(fd);
            return; // the text cannot occur in this file
        }
    }
    const CaseInsensitiveFinder finder(needle);
    const size_t firstRow = m_result.rows.size();

    if (m_buffer.size() < kChunkSize)
        m_buffer.resize(kChunkSize);
    size_t filled = 0;
    bool atEnd = false;
    while (!atEnd) {
        if (filled == m_buffer.size())
            m_buffer.resize(m_buffer.size() * 2); // a line longer than the buffer
        const ssize_t n = ::read(fd, m_buffer.data() + filled, m_buffer.size() - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            m_result.errors.push_back(FileOpenErrorText(path, errno));
            break;
        }
        atEnd = n == 0;
        filled += static_cast<size_t>(n);
        // Only whole lines are searched; a CR at the very end may still get its LF.
        size_t complete = filled;
        if (!atEnd) {
            size_t i = filled;
            if (i > 0 && m_buffer[i - 1] == '\r')
                --i;
            while (i > 0 && !IsLineBreak(m_buffer[i - 1]))
                --i;
            complete = i;
            if (complete == 0)
                continue;
        }
        ScanRegion(m_buffer.data(), m_buffer.data() + complete, finder);
        std::memmove(m_buffer.data(), m_buffer.data() + complete, filled - complete);
        filled -= complete;
    }

    bool needsDecoding = false;
    for (size_t i = firstRow; i < m_result.rows.size() && !needsDecoding; ++i)
        needsDecoding = m_result.rows[i].HasNonAscii();
    if (needsDecoding) {
        if (!encoding)
            encoding = ReadEncoding(fd);
        for (size_t i = firstRow; i < m_result.rows.size(); ++i)
            m_result.rows[i].ConvertToUtf8(encoding.value_or(TextEncoding::Utf8));
    }
    ::close(fd);
}

} // namespace

std::string ListNameOf(const rsznListInfo& info) {
    return std::string(ListCaption(info.FileName));
}

SearchResult SearchLists(std::string_view text, const GroupFilter& groups,
                         const ListRegistry& registry) {
    SearchResult result;
    if (text.empty())
        return result;
    FileSearcher searcher(text, result);
    for (size_t i = 0; i < registry.ListPaths.size() && i < registry.ListInfos.size(); ++i) {
        if (!groups[static_cast<size_t>(EffectiveGroup(registry.ListInfos[i].Group) - kFirstGroup)])
            continue;
        searcher.Search(static_cast<int32_t>(i), registry.ListPaths[i]);
    }
    return result;
}

} // namespace vyp
