// "search TEXT": the folders and files of every list whose line holds the text, ordered by
// list name, as the search window finds them.
#include "cli/Commands.h"
#include "lists/DisplayFormat.h"
#include "lists/ListFile.h"
#include "lists/SizeText.h"
#include "qtcore/NameCollator.h"
#include "search/ListSearch.h"
#include "search/SearchRowOrder.h"
#include "search/SearchRowsCsv.h"
#include "util/PutField.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <ostream>

namespace vyp {

namespace {

// A row as a line: list, path, size in megabytes (nothing when it is no number), exact size,
// date and time, TAB between them. Written straight into out, which is sized once for the
// longest such line and cut to what was written, as a search may print millions.
void AppendSearchRowLine(const SearchRowTexts& row, std::string_view listName,
                         const RegionalSettings& regional, std::string& out) {
    const std::optional<int64_t> bytes = TryParseSizeText(row.size);
    constexpr std::string_view kExactUnit = " B\t";
    const size_t at = out.size();
    out.resize(at + listName.size() + row.folder.size() + row.name.size() + kMBFormMost +
               row.size.size() + kExactUnit.size() + row.date.size() + row.time.size() + 5 + 8);
    char* p = PutField(out.data() + at, listName);
    *p++ = '\t';
    p = PutField(p, row.folder);
    p = PutField(p, row.name);
    *p++ = '\t';
    if (bytes) {
        if (char* end = PutMB(*bytes, regional, p)) {
            p = end;
        } else {
            std::string megabytes; // the general way, for sizes no list should hold
            AppendMB(*bytes, regional, megabytes);
            const auto written = static_cast<size_t>(p - out.data());
            out.resize(out.size() + megabytes.size());
            p = PutField(out.data() + written, megabytes);
        }
    }
    *p++ = '\t';
    p = PutField(p, row.size);
    std::memcpy(p, kExactUnit.data(), kExactUnit.size());
    p += kExactUnit.size();
    p = PutField(p, row.date);
    *p++ = '\t';
    // The bytes past the time are the zeros resize put there, which stay.
    p = PutTimeForDisplay(p, row.time);
    *p++ = '\n';
    out.resize(static_cast<size_t>(p - out.data()));
}

int RunSearch(const CommandLine& line, CliSession& session) {
    const GroupFilter groups = GroupsArgument(line);
    const std::vector<std::string>& words = line.Positional();
    if (words.size() > 1)
        throw UsageError{"search potřebuje jeden TEXT"};
    if (words.empty())
        throw UsageError{"search potřebuje TEXT"};
    const bool csv = line.IsSet(CsvOption().name);
    const ListRegistry registry = session.LoadRegistry();

    // The table's first order: by list name, found order within a name. The rows are printed
    // as their lists are read, never held.
    std::vector<std::string> listNames;
    for (const rsznListInfo& info : registry.ListInfos)
        listNames.push_back(ListNameOf(info));
    const NameCollator collator(session.CollationLocale());
    const std::vector<size_t> listOrder =
        ListsByRank(RankListNames(listNames, [&collator](std::string_view a, std::string_view b) {
            return collator.Compare(a, b);
        }));
    const RegionalSettings& regional = session.Regional();
    std::string& output = session.Output();
    if (csv)
        AppendSearchRowsCsvHeader(output);
    auto toText = [&](const SearchRowTexts& row, std::string& text) {
        const std::string& listName = listNames[static_cast<size_t>(row.listIndex)];
        if (csv)
            AppendSearchRowCsv(row, listName, regional, text);
        else
            AppendSearchRowLine(row, listName, regional, text);
    };
    const SearchCounts result =
        SearchListsInOrder(words[0], groups, registry, listOrder, toText,
                           [&](std::string_view text) { session.Write(text); });
    if (!csv) {
        output += "Nalezených souborů: " + std::to_string(result.filesFound) + "\n";
        output += "Nalezených adresářů: " + std::to_string(result.foldersFound) + "\n";
    }
    for (const std::string& error : result.errors)
        session.Errors() << error << "\n";
    return result.errors.empty() ? kCommandDone : kCommandFailed;
}

} // namespace

const Command kSearchCommand{
    "search", "TEXT", {{"groups", "ID,ID,..."}, CsvOption()}, {}, RunSearch};

} // namespace vyp
