// "compare NAME_A NAME_B": what differs between two lists, entry by entry, as the comparison
// window shows it; the exit status tells whether they differ, as diff's does.
#include "cli/Commands.h"
#include "lists/DisplayFormat.h"
#include "scan/ListDifferences.h"
#include "scan/ListDifferencesCsv.h"
#include "util/Errors.h"

#include <ostream>

namespace vyp {

namespace {

constexpr int kListsDiffer = 1;
constexpr int kListUnknown = 2;

// A difference as a line: kind, path, then size (exact, " B"), date and time of either side,
// nothing where the side lacks the entry. Appended in place: the lists may differ in millions of
// entries.
void AppendDifferenceLine(const ListDifferences& differences, size_t i, std::string& out) {
    const std::array<std::string_view, 7> texts = differences.Texts(i);
    out.append(DifferenceKindText(differences.Kind(i)));
    for (size_t f = 0; f < texts.size(); ++f) {
        out.push_back('\t');
        out.append(texts[f]);
        if ((f == 1 || f == 4) && !texts[f].empty())
            out.append(" B");
    }
    out.push_back('\n');
}

int RunCompare(const CommandLine& line, CliSession& session) {
    const std::vector<std::string>& names = line.Positional();
    if (names.size() != 2)
        throw UsageError{"compare potřebuje NAME_A a NAME_B"};
    const bool csv = line.IsSet(CsvOption().name);
    std::optional<std::string> paths[2];
    for (int side = 0; side < 2; ++side) {
        paths[side] = session.FindListFile(names[static_cast<size_t>(side)]);
        if (!paths[side])
            return kListUnknown;
    }
    std::string& output = session.Output();
    // The header once both lists could be read: a list that cannot be read prints nothing.
    bool headed = !csv;
    auto head = [&] {
        if (!headed)
            AppendListDifferencesCsvHeader(output);
        headed = true;
    };
    // Printed as they are found: the lists may differ in millions of entries.
    auto print = [&](const ListDifferences& found) {
        head();
        for (size_t i = 0; i < found.Count(); ++i) {
            if (csv)
                AppendListDifferenceCsv(found, i, output);
            else
                AppendDifferenceLine(found, i, output);
            session.FlushSometimes();
        }
    };
    std::optional<ListDifferences> differences;
    try {
        differences = ListDifferences::Compare(*paths[0], *paths[1], {}, print);
    } catch (const VypisnikError& error) {
        session.Fail(error.what());
        return kListUnknown;
    }
    head();
    if (!csv) {
        for (const std::string& text :
             ComparisonSummaryLines(differences->Summary(), session.Regional()))
            output += text + "\n";
    }
    return differences->Summary().Same() ? kCommandDone : kListsDiffer;
}

} // namespace

const Command kCompareCommand{
    "compare",
    "NAME_A NAME_B",
    {CsvOption()},
    "prints what differs between two lists, entry by entry by relative path:\n"
    "\"Jen v prvním\", \"Jen ve druhém\" and \"Změněno\" (a file whose size, date or\n"
    "time differs; folders count by presence only), in the lists' pre-order, the\n"
    "entries of NAME_A first, then what only NAME_B holds; then the summary. Exit\n"
    "status 0 when the lists hold the same entries, 1 when they differ, 2 when a\n"
    "list is unknown or cannot be read",
    RunCompare};

} // namespace vyp
