#include "search/ListSearch.h"

#include "lists/Errors.h"
#include "lists/Groups.h"
#include "lists/ListFile.h"
#include "lists/ListFileStream.h"
#include "search/CaseInsensitiveFinder.h"

#include <cstring>
#include <optional>

namespace vyp {

namespace {

// The last "\" in [begin, end), or nullptr (memrchr is an extension of the GNU C library).
const char* LastBackslash(const char* begin, const char* end) {
#ifdef __GLIBC__
    return static_cast<const char*>(::memrchr(begin, '\\', static_cast<size_t>(end - begin)));
#else
    for (const char* p = end; p != begin;) {
        if (*--p == '\\')
            return p;
    }
    return nullptr;
#endif
}

std::string_view FirstField(std::string_view line) {
    return line.substr(0, line.find('\t'));
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
        const char* headerEnd = LineEndAfter(begin, end);
        const std::string_view header(begin, static_cast<size_t>(headerEnd - begin));
        m_carriedPrefix.assign(FirstField(header));
        if (finder.Find(begin, headerEnd) != nullptr)
            AddRow(header, true, {});
        p = headerEnd;
    }
    const char* floor = p; // the region's lines start here (after the header, if it was in it)
    // The last "\" before scanned: each byte is looked at once, however many lines match.
    const char* scanned = floor;
    const char* lastSlash = nullptr;
    while (const char* match = finder.Find(p, end)) {
        const char* lineBegin = LineStartBefore(floor, match);
        const char* lineEnd = LineEndAfter(match, end);
        const std::string_view line(lineBegin, static_cast<size_t>(lineEnd - lineBegin));
        std::string_view prefix = m_carriedPrefix;
        if (std::memchr(line.data(), '\\', line.size()) == nullptr) {
            // The folder of a file line is the nearest line above it that holds a "\".
            if (const char* slash = LastBackslash(scanned, lineBegin))
                lastSlash = slash;
            scanned = lineBegin;
            if (const char* slash = lastSlash) {
                const char* folderLine = LineStartBefore(floor, slash);
                prefix = FirstField(std::string_view(
                    folderLine, static_cast<size_t>(LineEndAfter(slash, end) - folderLine)));
            }
        }
        AddRow(line, false, prefix);
        p = lineEnd;
    }
    if (const char* slash = LastBackslash(scanned, end))
        lastSlash = slash;
    if (lastSlash != nullptr) {
        const char* folderLine = LineStartBefore(floor, lastSlash);
        m_carriedPrefix.assign(FirstField(std::string_view(
            folderLine, static_cast<size_t>(LineEndAfter(lastSlash, end) - folderLine))));
    }
}

void FileSearcher::Search(int32_t listIndex, const std::string& path) {
    m_listIndex = listIndex;
    m_headerDone = false;
    m_carriedPrefix.clear();
    const size_t firstRow = m_result.rows.size();
    try {
        // The stream checks the encoding as it reads, so the rows can be decoded without a
        // second read once it has reached the end.
        ListFileStream stream(path, true);
        // Lines never hold a line end, so such a text matches nothing.
        if (m_text.find_first_of("\r\n") != std::string_view::npos)
            return;
        std::optional<TextEncoding> encoding;
        std::string needle(m_text);
        if (!IsAscii(m_text)) {
            encoding = stream.EncodingFromStart();
            if (!FromUtf8(m_text, *encoding, needle))
                return; // the text cannot occur in this file
        }
        const CaseInsensitiveFinder finder(needle);
        bool readToTheEnd = false;
        try {
            std::string_view region;
            while (stream.NextRegion(region))
                ScanRegion(region.data(), region.data() + region.size(), finder);
            readToTheEnd = true;
        } catch (const VypisnikError& error) {
            m_result.errors.emplace_back(error.what()); // the rows found so far stay
        }
        // Matches in plain ASCII read the same in either encoding; others need the file's.
        bool needsDecoding = false;
        for (size_t i = firstRow; i < m_result.rows.size() && !needsDecoding; ++i)
            needsDecoding = m_result.rows[i].HasNonAscii();
        if (needsDecoding) {
            if (!encoding)
                encoding = readToTheEnd ? stream.Encoding() : stream.EncodingFromStart();
            for (size_t i = firstRow; i < m_result.rows.size(); ++i)
                m_result.rows[i].ConvertToUtf8(*encoding);
        }
    } catch (const VypisnikError& error) {
        m_result.errors.emplace_back(error.what());
    }
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
