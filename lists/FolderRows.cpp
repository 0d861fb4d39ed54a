#include "lists/FolderRows.h"

#include "lists/Encoding.h"
#include "lists/Errors.h"
#include "lists/ListFile.h"
#include "lists/SizeText.h"

#include <cstring>

namespace vyp {

std::string_view FileRow::Extension() const { return ExtensionOf(Caption); }

namespace {

bool StartsLine(std::string_view bytes, size_t pos) {
    return pos == 0 || bytes[pos - 1] == '\n' || bytes[pos - 1] == '\r';
}

// The position just after the line of the folder line whose first field is rawPath, or npos.
// The header (line 0) never counts: it holds the root, not a folder of the list.
size_t FindFolderLineEnd(std::string_view bytes, std::string_view rawPath, size_t& lineCount) {
    LineReader reader(bytes);
    std::string_view line;
    reader.Next(line); // the header
    const size_t bodyStart = static_cast<size_t>(reader.Position() - bytes.data());
    // Look for the path followed by a TAB or a line end, at the start of a line.
    size_t from = bodyStart;
    while (from < bytes.size()) {
        const size_t at = bytes.find(rawPath, from);
        if (at == std::string_view::npos)
            break;
        const size_t after = at + rawPath.size();
        if (StartsLine(bytes, at) && at >= bodyStart &&
            (after == bytes.size() || bytes[after] == '\t' || bytes[after] == '\r' ||
             bytes[after] == '\n')) {
            LineReader rest(bytes.substr(at));
            rest.Next(line);
            return at + static_cast<size_t>(rest.Position() - (bytes.data() + at));
        }
        from = at + 1;
    }
    lineCount = SplitLines(bytes).size();
    return std::string_view::npos;
}

} // namespace

FolderRows FolderRows::Read(const std::string& listPath, std::string_view folderPath) {
    std::string bytes;
    try {
        bytes = ReadWholeFile(listPath);
    } catch (const VypisnikError& error) {
        FolderRows rows;
        rows.error = error.what();
        return rows;
    }
    return FromBytes(bytes, folderPath);
}

FolderRows FolderRows::FromBytes(std::string_view bytes, std::string_view folderPath) {
    FolderRows result;
    const TextEncoding encoding = DetectEncoding(bytes);
    size_t start = 0;
    if (folderPath.empty()) {
        LineReader reader(bytes);
        std::string_view header;
        reader.Next(header);
        start = static_cast<size_t>(reader.Position() - bytes.data());
    } else {
        std::string rawPath;
        size_t lineCount = 0;
        if (FromUtf8(folderPath, encoding, rawPath))
            start = FindFolderLineEnd(bytes, rawPath, lineCount);
        else
            start = std::string_view::npos, lineCount = SplitLines(bytes).size();
        if (start == std::string_view::npos) {
            result.error = ListIndexErrorText(static_cast<long long>(lineCount));
            return result;
        }
    }
    if (start > bytes.size())
        return result;

    LineReader reader(bytes.substr(start));
    std::string_view line;
    while (reader.Next(line)) {
        if (std::memchr(line.data(), '\\', line.size()) != nullptr)
            break; // the next folder's line: this folder's own files end here
        if (line.empty())
            continue; // a damaged file's empty line gives no row
        const ListLineFields fields = SplitListLine(line);
        const std::optional<int64_t> size =
            fields.count >= 2 ? TryParseSizeText(fields.field[1]) : std::nullopt;
        if (!size) {
            result.error = InvalidIntegerText(
                ToUtf8(fields.count >= 2 ? fields.field[1] : std::string_view(), encoding));
            return result;
        }
        FileRow& row = result.rows.emplace_back();
        row.Caption = ToUtf8(fields.field[0], encoding);
        row.SizeText.assign(fields.field[1]);
        if (fields.count >= 3)
            row.DateText = ToUtf8(fields.field[2], encoding);
        if (fields.count >= 4)
            row.TimeText = TimeForDisplay(ToUtf8(fields.field[3], encoding));
        result.total += *size;
    }
    return result;
}

} // namespace vyp
