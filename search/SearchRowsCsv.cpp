#include "search/SearchRowsCsv.h"

#include "lists/DisplayFormat.h"
#include "lists/FolderRowsCsv.h"
#include "lists/ListFile.h"
#include "lists/SizeText.h"
#include "util/CsvWriter.h"
#include "util/PutField.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>

namespace vyp {

std::string SearchSizeCell(std::string_view sizeText, const RegionalSettings& regional) {
    const auto value = TryParseSizeText(sizeText);
    return value ? FormatMB(*value, regional) : std::string();
}

const std::array<std::string_view, 7>& SearchRowsCsvCaptions() {
    static const std::array<std::string_view, 7> captions = {
        "Seznam", "Soubor / složka", "Velikost", "Přesná velikost", "Datum",
        "Čas",    kCsvBytesCaption};
    return captions;
}

std::array<std::string, 7> SearchRowCsvCells(const SearchRow& row, std::string_view listName,
                                             const RegionalSettings& regional) {
    return {std::string(listName),
            std::string(row.Path()),
            SearchSizeCell(row.SizeText(), regional),
            FormatExactSize(row.SizeText()),
            std::string(row.DateText()),
            std::string(row.TimeText()),
            CsvBytes(row.SizeText())};
}

void AppendSearchRowsCsvHeader(std::string& out) {
    const auto& captions = SearchRowsCsvCaptions();
    CsvWriter(out).Row(std::span<const std::string_view>(captions.data(), captions.size()));
}

void AppendSearchRowCsv(const SearchRow& row, std::string_view listName,
                        const RegionalSettings& regional, std::string& out) {
    AppendSearchRowCsv(row.AllTexts(), listName, regional, out);
}

namespace {

// Whether any of a row's own texts (not its folder) must be quoted. Those of a found line lie
// side by side in it: one look over them all, not one for each short text; where they do not,
// each is looked at.
bool RowTextsNeedQuotes(const SearchRowTexts& row) {
    uintptr_t lowest = UINTPTR_MAX;
    uintptr_t highest = 0;
    size_t total = 0;
    for (const std::string_view text : {row.name, row.size, row.date, row.time}) {
        if (text.empty())
            continue;
        const auto at = reinterpret_cast<uintptr_t>(text.data());
        lowest = std::min(lowest, at);
        highest = std::max(highest, at + text.size());
        total += text.size();
    }
    if (total == 0)
        return false;
    // Between them only their separators: the span as a whole says it.
    if (highest - lowest <= total + 8)
        return CsvWriter::NeedsQuotes(std::string_view(reinterpret_cast<const char*>(lowest),
                                                       static_cast<size_t>(highest - lowest)));
    return CsvWriter::NeedsQuotes(row.name) || CsvWriter::NeedsQuotes(row.size) ||
           CsvWriter::NeedsQuotes(row.date) || CsvWriter::NeedsQuotes(row.time);
}

// The size in bytes as it is written plainly, which is the stored text unless that has a sign
// or leading zeros.
char* PutPlainBytes(char* p, std::string_view size, int64_t bytes) {
    const bool plain = !size.empty() && size[0] != '+' && size[0] != '0' &&
                       !(size[0] == '-' && (size.size() == 1 || size[1] == '0'));
    if (plain || size == "0")
        return PutField(p, size);
    return std::to_chars(p, p + 24, bytes).ptr;
}

// A row none of whose texts must be quoted (the most by far), written straight into out, which
// is sized once for the longest such row and cut to what was written: only the size in
// megabytes may need quotes, for a decimal comma. False, with nothing written, for a size that
// takes the general way in megabytes.
bool PutPlainSearchRowCsv(const SearchRowTexts& row, std::string_view listName,
                          const RegionalSettings& regional, std::optional<int64_t> bytes,
                          std::string& out) {
    constexpr std::string_view kExactUnit = " B,";
    const size_t at = out.size();
    out.resize(at + listName.size() + row.folder.size() + row.name.size() + kMBFormMost + 2 +
               row.size.size() + kExactUnit.size() + row.date.size() + row.time.size() + 24 + 6 +
               8);
    char* p = PutField(out.data() + at, listName);
    *p++ = ',';
    p = PutField(p, row.folder);
    p = PutField(p, row.name);
    *p++ = ',';
    if (bytes) {
        // Written a byte on, where a quote may go before it.
        char* const cell = p + 1;
        char* end = PutMB(*bytes, regional, cell);
        if (end == nullptr) {
            out.resize(at);
            return false;
        }
        if (CsvWriter::NeedsQuotes(std::string_view(cell, static_cast<size_t>(end - cell)))) {
            *p = '"';
            *end++ = '"';
            p = end;
        } else {
            std::memmove(p, cell, static_cast<size_t>(end - cell));
            p = end - 1;
        }
    }
    *p++ = ',';
    p = PutField(p, row.size);
    std::memcpy(p, kExactUnit.data(), kExactUnit.size());
    p += kExactUnit.size();
    p = PutField(p, row.date);
    *p++ = ',';
    p = PutTimeForDisplay(p, row.time);
    *p++ = ',';
    if (bytes)
        p = PutPlainBytes(p, row.size, *bytes);
    *p++ = '\r';
    *p++ = '\n';
    out.resize(static_cast<size_t>(p - out.data()));
    return true;
}

} // namespace

void AppendSearchRowCsv(const SearchRowTexts& row, std::string_view listName,
                        const RegionalSettings& regional, std::string& out) {
    // The cells SearchRowCsvCells gives, made in place and the size read once: this runs once a
    // row, and a search may print millions.
    const std::string_view size = row.size;
    const std::optional<int64_t> bytes = TryParseSizeText(size);
    if (!CsvWriter::NeedsQuotes(listName) && !CsvWriter::NeedsQuotes(row.folder) &&
        !RowTextsNeedQuotes(row) && PutPlainSearchRowCsv(row, listName, regional, bytes, out))
        return;
    CsvWriter::AppendField(listName, out);
    out.push_back(',');
    const size_t pathFrom = out.size();
    out.append(row.folder).append(row.name);
    CsvWriter::QuoteFieldFrom(pathFrom, out);
    out.push_back(',');
    if (bytes) {
        const size_t from = out.size();
        AppendMB(*bytes, regional, out);
        CsvWriter::QuoteFieldFrom(from, out);
    }
    out.push_back(',');
    const size_t exactFrom = out.size();
    out.append(size).append(" B");
    CsvWriter::QuoteFieldFrom(exactFrom, out);
    out.push_back(',');
    CsvWriter::AppendField(row.date, out);
    out.push_back(',');
    const size_t timeFrom = out.size();
    AppendTimeForDisplay(row.time, out);
    CsvWriter::QuoteFieldFrom(timeFrom, out);
    out.push_back(',');
    if (bytes) {
        char digits[24];
        out.append(digits, static_cast<size_t>(PutPlainBytes(digits, size, *bytes) - digits));
    }
    out.append("\r\n");
}

} // namespace vyp
