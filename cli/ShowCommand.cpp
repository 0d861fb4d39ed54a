// "show NAME [FOLDER]": the files of a list's root or of one of its folders, in the locale's
// order of names, as the folder contents table shows them.
#include "cli/Commands.h"
#include "lists/DisplayFormat.h"
#include "lists/FolderRows.h"
#include "lists/FolderRowsCsv.h"
#include "qtcore/NameCollator.h"

namespace vyp {

namespace {

int RunShow(const CommandLine& line, CliSession& session) {
    const std::vector<std::string>& words = line.Positional();
    if (words.empty() || words.size() > 2)
        throw UsageError{"show potřebuje NAME [FOLDER]"};
    const bool csv = line.IsSet(CsvOption().name);
    const auto list = session.FindListFile(words[0]);
    if (!list)
        return kCommandFailed;
    const FolderRows rows = FolderRows::Read(*list, words.size() == 2 ? words[1] : "");
    if (!rows.Error().empty())
        return session.Fail(rows.Error());
    std::vector<std::string_view> names;
    names.reserve(rows.Count());
    for (size_t i = 0; i < rows.Count(); ++i)
        names.push_back(rows.Caption(i));
    const RegionalSettings& regional = session.Regional();
    std::string& output = session.Output();
    if (csv)
        AppendFolderRowsCsvHeader(output);
    for (size_t i : NameCollator(session.CollationLocale()).StableOrder(names)) {
        if (!csv) {
            session.Row({rows.Caption(i), FormatMB(rows.Size(i), regional),
                         FormatExactSize(rows.SizeText(i)), rows.DateText(i), rows.TimeText(i)});
            continue;
        }
        AppendFolderRowCsv(rows, i, regional, output);
        session.FlushSometimes();
    }
    if (csv)
        return kCommandDone;
    output += "Počet souborů: " + std::to_string(rows.Count()) + "\n";
    output += "Velikost: " + FormatMB(rows.Total(), regional) + "\n";
    return kCommandDone;
}

} // namespace

const Command kShowCommand{"show", "NAME [FOLDER]", {CsvOption()}, {}, RunShow};

} // namespace vyp
