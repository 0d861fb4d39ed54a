#include "lists/FolderRows.h"

#include "lists/Encoding.h"
#include "lists/Errors.h"
#include "lists/ListFile.h"
#include "lists/ListFileStream.h"
#include "lists/PackedFields.h"
#include "lists/SizeText.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace vyp {

std::string_view FolderRows::Text(size_t i, int field) const {
    const auto& row = m_rows[i];
    return PackedField(m_text, row.offset, row.length, static_cast<size_t>(field));
}

std::string_view FolderRows::Extension(size_t i) const {
    return ExtensionOf(Caption(i));
}

void FolderRows::Clear() {
    m_text.clear();
    m_rows.clear();
    m_total = 0;
}

namespace {

// The start of the line after the line end at p.
const char* PastLineBreak(const char* p, const char* end) {
    if (p < end && *p == '\r' && p + 1 < end && p[1] == '\n')
        return p + 2;
    return p < end ? p + 1 : end;
}

// The folder's path as its line holds it, or nothing when no line can be that folder's line: a
// folder's line always holds a "\" (a file line named like the path is not the folder).
std::optional<std::string> RawFolderPath(std::string_view folderPath, TextEncoding encoding) {
    if (!folderPath.empty() && folderPath.find('\\') == std::string_view::npos)
        return std::nullopt;
    std::string raw;
    if (!FromUtf8(folderPath, encoding, raw))
        return std::nullopt;
    return raw;
}

} // namespace

// Collects the rows of one folder from the pieces of a list file, in raw bytes.
class FolderRowCollector {
public:
    // Without a path (nothing can be the folder's line) it only counts the lines, for the error.
    FolderRowCollector(FolderRows& result, std::optional<std::string> rawPath)
        : m_result(result), m_findable(rawPath.has_value()), m_rawPath(rawPath.value_or("")),
          m_collecting(m_findable && m_rawPath.empty()) {}

    // Returns false once the folder's rows are complete (or an error ended them).
    bool AddRegion(std::string_view region) {
        const char* p = region.data();
        const char* end = p + region.size();
        if (!m_headerDone) {
            m_headerDone = true;
            p = PastLineBreak(LineEndAfter(p, end), end); // the header is never a folder line
            ++m_lines;
        }
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
    size_t LinesSeen() const { return m_lines; }

    // Whether any text kept holds a byte outside ASCII, so the file's encoding matters.
    bool KeptNonAscii() const { return !IsAscii(m_result.m_text) || !IsAscii(m_result.m_error); }

    void Decode(TextEncoding encoding) {
        if (encoding == TextEncoding::Utf8)
            return;
        std::string decoded;
        for (FolderRows::Row& row : m_result.m_rows) {
            const size_t offset = decoded.size();
            uint32_t lengths[4];
            for (int f = 0; f < 4; ++f) {
                const size_t before = decoded.size();
                AppendAsUtf8(m_result.Text(static_cast<size_t>(&row - m_result.m_rows.data()), f),
                             encoding, decoded);
                lengths[f] = static_cast<uint32_t>(decoded.size() - before);
            }
            row.offset = offset;
            std::copy(lengths, lengths + 4, row.length);
        }
        m_result.m_text = std::move(decoded);
        m_result.m_error = ToUtf8(m_result.m_error, encoding);
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
            m_result.m_error = InvalidIntegerText(sizeText);
            return false;
        }
        std::string& text = m_result.m_text;
        FolderRows::Row row{text.size(), {}, *size};
        for (int f = 0; f < 4; ++f) {
            const std::string_view field = f < fields.count ? fields.field[f] : std::string_view();
            if (f == 3)
                AppendTimeForDisplay(field, text);
            else
                text.append(field);
            row.length[f] = static_cast<uint32_t>(field.size());
        }
        m_result.m_rows.push_back(row);
        // Sizes of damaged lists may add up beyond 64 bits: the total stops at the limit.
        if (__builtin_add_overflow(m_result.m_total, *size, &m_result.m_total))
            m_result.m_total = *size < 0 ? INT64_MIN : INT64_MAX;
        return true;
    }

    FolderRows& m_result;
    bool m_findable;
    std::string m_rawPath;
    bool m_collecting;
    bool m_headerDone = false;
    size_t m_lines = 0;
};

FolderRows FolderRows::Read(const std::string& listPath, std::string_view folderPath) {
    FolderRows result;
    try {
        // A path with accents is looked for in the file's own encoding, which takes a pass to
        // learn.
        TextEncoding encoding = TextEncoding::Utf8;
        if (!IsAscii(folderPath))
            encoding = ListFileStream(listPath, true).EncodingOfWholeFile();
        const std::optional<std::string> rawPath = RawFolderPath(folderPath, encoding);
        ListFileStream stream(listPath, true);
        FolderRowCollector collector(result, rawPath);
        std::string_view region;
        bool more = true;
        while (more && stream.NextRegion(region))
            more = collector.AddRegion(region);
        if (!rawPath || !collector.FolderFound()) {
            result.Clear();
            result.m_error = ListIndexErrorText(static_cast<long long>(collector.LinesSeen()));
            return result;
        }
        // Rows in plain ASCII read the same in either encoding; others need the whole file's.
        if (collector.KeptNonAscii())
            collector.Decode(stream.EncodingOfWholeFile());
    } catch (const VypisnikError& error) {
        result.Clear();
        result.m_error = error.what();
    }
    return result;
}

FolderRows FolderRows::FromBytes(std::string_view bytes, std::string_view folderPath) {
    FolderRows result;
    const TextEncoding encoding = DetectEncoding(bytes);
    const std::optional<std::string> rawPath = RawFolderPath(folderPath, encoding);
    FolderRowCollector collector(result, rawPath);
    collector.AddRegion(bytes);
    if (!rawPath || !collector.FolderFound()) {
        result.Clear();
        result.m_error = ListIndexErrorText(static_cast<long long>(collector.LinesSeen()));
        return result;
    }
    collector.Decode(encoding);
    return result;
}

} // namespace vyp
