// "duplicates": the files kept more than once across the lists (names alike whatever the case
// of their letters, sizes equal to the byte), the sets that waste most first, as the window
// "Duplicity" shows them.
#include "cli/Commands.h"
#include "lists/DisplayFormat.h"
#include "lists/SizeText.h"
#include "qtcore/NameCollator.h"
#include "search/DuplicateSearch.h"
#include "search/DuplicatesCsv.h"

#include <ostream>

namespace vyp {

namespace {

int64_t MinSizeArgument(const CommandLine& line) {
    const auto text = line.Value("min-size");
    if (!text)
        return DuplicateQuery{}.minSize;
    const auto value = TryParseSizeText(*text);
    if (!value || *value < 0)
        throw UsageError{"--min-size musí být počet bajtů: " + *text};
    return *value;
}

int RunDuplicates(const CommandLine& line, CliSession& session) {
    DuplicateQuery query;
    query.groups = GroupsArgument(line);
    query.minSize = MinSizeArgument(line);
    if (!line.Positional().empty())
        throw UsageError{"duplicates nepotřebuje žádné další slovo"};
    const bool csv = line.IsSet(CsvOption().name);
    const ListRegistry registry = session.LoadRegistry();
    const NameCollator collator(session.CollationLocale());
    const DuplicateResult result =
        FindDuplicates(registry, query, [&collator](std::string_view a, std::string_view b) {
            return collator.Compare(a, b);
        });

    std::vector<std::string> listNames;
    for (const rsznListInfo& info : registry.ListInfos)
        listNames.push_back(ListNameOf(info));
    const RegionalSettings& regional = session.Regional();
    std::string& output = session.Output();
    if (csv)
        AppendDuplicatesCsvHeader(output);
    for (size_t s = 0; s < result.sets.size(); ++s) {
        const DuplicateSet& set = result.sets[s];
        if (!csv && s > 0)
            output += "\n";
        for (size_t c = set.firstCopy; c < set.firstCopy + set.copies; ++c) {
            const SearchRow copy = result.copies[c];
            const std::string& listName = listNames[static_cast<size_t>(copy.ListIndex())];
            if (csv)
                AppendDuplicateCopyCsv(s + 1, copy, listName, regional, output);
            else
                session.Row({listName, copy.Path(), FormatTreeSize(copy.SizeText(), regional),
                             copy.DateText(), copy.TimeText()});
            session.FlushSometimes();
        }
    }
    if (!csv) {
        if (!result.sets.empty())
            output += "\n";
        output += "Sad: " + std::to_string(result.sets.size()) + "\n";
        output +=
            "Zbytečně zabráno: " + FormatTreeSize(std::to_string(result.wasted), regional) + "\n";
    }
    for (const std::string& error : result.errors)
        session.Errors() << error << "\n";
    return result.errors.empty() ? kCommandDone : kCommandFailed;
}

} // namespace

const Command kDuplicatesCommand{
    "duplicates",
    "",
    {{"groups", "ID,ID,..."}, {"min-size", "BYTES"}, CsvOption()},
    "prints the files kept more than once: names alike whatever the case of\n"
    "their letters (accents count), sizes equal to the byte and at least\n"
    "--min-size (1 byte: empty files are never duplicates); the sets that waste\n"
    "most first, each copy a line, an empty line between sets. Exit status 0\n"
    "whether or not any were found; 1 when a list could not be read (it is named,\n"
    "the others still count), as a search's",
    RunDuplicates};

} // namespace vyp
