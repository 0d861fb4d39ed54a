#include "lists/FolderRows.h"

#include "lists/ListFile.h"
#include "lists/ListRegionReader.h"
#include "lists/SizeText.h"
#include "util/Encoding.h"
#include "util/Errors.h"

#include <cstring>
#include <memory>
#include <optional>

namespace vyp {

std::string_view FolderRows::Extension(size_t i) const {
    return ExtensionOf(Caption(i));
}

void FolderRows::Clear() {
    m_texts.Clear();
    m_sizes.clear();
    m_total = 0;
}

// Collects the rows of one folder from the regions of a list file, in raw bytes: the file lines
// right after the line whose first field is the folder's path as the file holds it.
class FolderRowCollector {
public:
    // Without a path (nothing can be the folder's line) it only counts the lines, for the error.
    // linesBefore: the lines before the first region (the header).
    FolderRowCollector(std::optional<std::string> rawPath, size_t linesBefore)
        : m_findable(rawPath.has_value()), m_rawPath(rawPath.value_or("")),
          m_collecting(m_findable && m_rawPath.empty()), m_lines(linesBefore) {}

    // Returns false once the folder's rows are complete (or an error ended them).
    bool AddRegion(std::string_view lines) {
        const char* p = lines.data();
        const char* end = p + lines.size();
        if (!m_collecting) {
            p = FindFolderLine(p, end);
            if (p == nullptr)
                return true;
            m_collecting = true;
        }
        // The folder's files run up to the next line holding a "\".
        const auto* slash =
            static_cast<const char*>(std::memchr(p, '\\', static_cast<size_t>(end - p)));
        const char* stop = slash != nullptr ? LineStartBefore(p, slash) : end;
        LineReader reader(std::string_view(p, static_cast<size_t>(stop - p)));
        std::string_view line;
        while (reader.Next(line)) {
            if (!line.empty() && !AddRow(line))
                return false;
        }
        return slash == nullptr;
    }

    bool FolderFound() const { return m_collecting; }
    const std::string& RawPath() const { return m_rawPath; }
    size_t LinesSeen() const { return m_lines; }

    // Hands the rows over, decoded from encoding.
    FolderRows Result(TextEncoding encoding) {
        m_rows.m_texts.DecodeFrom(0, encoding);
        m_rows.m_error = ToUtf8(m_rows.m_error, encoding);
        return std::move(m_rows);
    }
    bool KeptNonAscii() const {
        return m_rows.m_texts.HasNonAsciiFrom(0) || !IsAscii(m_rows.m_error);
    }

private:
    // The position after the line whose first field is the folder's path, or nullptr.
    const char* FindFolderLine(const char* p, const char* end) {
        const std::string_view text(p, static_cast<size_t>(end - p));
        if (!m_findable) {
            CountLines(text);
            return nullptr;
        }
        for (size_t from = 0;;) {
            const size_t at = text.find(m_rawPath, from);
            if (at == std::string_view::npos) {
                CountLines(text);
                return nullptr;
            }
            const size_t after = at + m_rawPath.size();
            const bool atLineStart = at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r';
            if (atLineStart && (after == text.size() || text[after] == '\t' ||
                                text[after] == '\r' || text[after] == '\n'))
                return PastLineBreak(LineEndAfter(p + after, end), end);
            from = at + 1;
        }
    }

    void CountLines(std::string_view text) {
        LineReader reader(text);
        std::string_view line;
        while (reader.Next(line))
            ++m_lines;
    }

    bool AddRow(std::string_view line) {
        const ListLineFields fields = SplitListLine(line);
        const std::string_view sizeText = fields.count >= 2 ? fields.field[1] : std::string_view();
        const std::optional<int64_t> size = TryParseSizeText(sizeText);
        if (!size) {
            m_rows.m_error = InvalidIntegerText(sizeText);
            return false;
        }
        m_rows.m_texts.AddWith(
            [&fields](size_t f, std::string& text) { AppendFieldForDisplay(fields, f, text); });
        m_rows.m_sizes.push_back(*size);
        // Sizes of damaged lists may add up beyond 64 bits: the total stops at the limit.
        if (__builtin_add_overflow(m_rows.m_total, *size, &m_rows.m_total))
            m_rows.m_total = *size < 0 ? INT64_MIN : INT64_MAX;
        return true;
    }

    FolderRows m_rows;
    bool m_findable;
    std::string m_rawPath;
    bool m_collecting;
    size_t m_lines;
};

namespace {

// The folder's path as a line of a file in encoding holds it, or nothing when no line can be
// that folder's line: a folder's line always holds a "\" (a file line named like the path is
// not the folder), and a path with a character the encoding lacks cannot be in the file.
std::optional<std::string> RawFolderPath(std::string_view folderPath, TextEncoding encoding) {
    if (!folderPath.empty() && folderPath.find('\\') == std::string_view::npos)
        return std::nullopt;
    std::string raw;
    if (!FromUtf8(folderPath, encoding, raw))
        return std::nullopt;
    return raw;
}

} // namespace

FolderRows FolderRows::Read(const std::string& listPath, std::string_view folderPath) {
    try {
        ListRegionReader reader(listPath);
        const size_t headerLines = reader.HasHeaderLine() ? 1 : 0;
        // A path in plain ASCII is the same in either encoding. One with accents is looked for in
        // both forms in the same pass; the file's encoding, learned on the way, tells which
        // form's rows are the folder's.
        FolderRowCollector asUtf8(RawFolderPath(folderPath, TextEncoding::Utf8), headerLines);
        std::unique_ptr<FolderRowCollector> asWindows1250;
        if (!IsAscii(folderPath))
            asWindows1250 = std::make_unique<FolderRowCollector>(
                RawFolderPath(folderPath, TextEncoding::Windows1250), headerLines);
        bool utf8Open = true;
        bool windows1250Open = asWindows1250 != nullptr;
        ListRegion region;
        while ((utf8Open || windows1250Open) && reader.Next(region)) {
            if (reader.Encoding() != TextEncoding::Utf8 && asWindows1250 != nullptr)
                utf8Open = false; // the UTF-8 form's rows can no longer be the folder's
            if (utf8Open)
                utf8Open = asUtf8.AddRegion(region.lines);
            if (windows1250Open)
                windows1250Open = asWindows1250->AddRegion(region.lines);
        }
        // Rows in plain ASCII read the same in either encoding; others need the whole file's.
        const bool needEncoding = asWindows1250 != nullptr || asUtf8.KeptNonAscii();
        const TextEncoding encoding =
            needEncoding ? reader.EncodingOfWholeFile() : TextEncoding::Utf8;
        FolderRowCollector& chosen =
            asWindows1250 != nullptr && encoding == TextEncoding::Windows1250 ? *asWindows1250
                                                                              : asUtf8;
        if (!chosen.FolderFound()) {
            FolderRows missing;
            missing.m_error = ListIndexErrorText(static_cast<long long>(chosen.LinesSeen()));
            return missing;
        }
        return chosen.Result(encoding);
    } catch (const VypisnikError& error) {
        FolderRows failed;
        failed.m_error = error.what();
        return failed;
    }
}

FolderRows FolderRows::Read(const std::string& listPath, std::string_view folderPath,
                            const FolderLineHint& hint) {
    // The root's files follow the header: there is no folder line to start at.
    if (!folderPath.empty()) {
        try {
            ListRegionReader reader(listPath, hint.offset);
            std::optional<std::string> rawPath = RawFolderPath(folderPath, hint.encoding);
            if (reader.Stamp() == hint.stamp && rawPath) {
                FolderRowCollector collector(std::move(rawPath), 0);
                ListRegion region;
                bool more = reader.Next(region);
                // Only when the first line read is the folder's own line.
                const bool atFolderLine =
                    more &&
                    FirstField(region.lines.substr(0, region.lines.find_first_of("\r\n"))) ==
                        collector.RawPath();
                if (atFolderLine) {
                    while (more && (more = collector.AddRegion(region.lines)))
                        more = reader.Next(region);
                    return collector.Result(hint.encoding);
                }
            }
        } catch (const VypisnikError&) {
            // Read from the start below, which tells the error as it always has.
        }
    }
    return Read(listPath, folderPath);
}

} // namespace vyp
