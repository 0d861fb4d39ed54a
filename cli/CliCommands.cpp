#include "cli/CliCommands.h"

#include "lists/DataFolder.h"
#include "lists/DisplayFormat.h"
#include "lists/FolderHierarchy.h"
#include "lists/FolderRows.h"
#include "lists/FolderRowsCsv.h"
#include "lists/Groups.h"
#include "lists/ListFile.h"
#include "lists/ListRegistry.h"
#include "lists/SettingsFile.h"
#include "lists/SizeText.h"
#include "platform/Files.h"
#include "platform/Native.h"
#include "qtcore/NameCollator.h"
#include "scan/FolderScan.h"
#include "scan/ListRescan.h"
#include "scan/NamedListCreation.h"
#include "search/ListSearch.h"
#include "search/SearchRowOrder.h"
#include "search/SearchRowsCsv.h"
#include "util/Errors.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>

namespace vyp {

const char* const kCliUsage =
    "usage:\n"
    "  vypisnik-cli [--data DIR] scan FOLDER NAME [--group ID] [--folders-only] [--overwrite]\n"
    "  vypisnik-cli [--data DIR] lists\n"
    "  vypisnik-cli [--data DIR] tree NAME\n"
    "  vypisnik-cli [--data DIR] rescan NAME [--force]\n"
    "  vypisnik-cli [--data DIR] show NAME [FOLDER] [--csv]\n"
    "  vypisnik-cli [--data DIR] search TEXT [--groups ID,ID,...] [--csv]\n"
    "\n"
    "--data DIR   the folder that holds \"Seznamy\" and \"settings.ini\" (default: the folder of\n"
    "             the executable, or ~/.local/share/Vypisnik when the program is installed)\n"
    "Rows are printed one a line, fields separated by TAB, as the windows show them.\n"
    "rescan       scans the list's folder again, replaces the list under the same name (its\n"
    "             group stays) and prints what changed; when more than half of the list's\n"
    "             entries would disappear (the wrong disc?) it changes nothing unless --force\n"
    "             is given\n"
    "--csv        prints the rows as CSV (UTF-8, a header line, CR LF line ends) with the\n"
    "             exact size in bytes as the last column, and no totals\n";

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Thrown for a command line that is not understood.
struct UsageError {
    std::string message;
};

class Cli {
public:
    Cli(const CliEnvironment& environment, std::ostream& out, std::ostream& err)
        : m_environment(environment), m_out(out), m_err(err),
          m_data(environment.defaultDataFolder) {}

    int Run(std::vector<std::string> args);

private:
    int Scan(const std::vector<std::string>& args);
    int Lists();
    int Tree(const std::vector<std::string>& args);
    int Rescan(const std::vector<std::string>& args);
    int Show(std::vector<std::string> args);
    int Search(std::vector<std::string> args);

    ListRegistry LoadRegistry() const;
    // The registry entry whose caption or file name is name; reports and returns nothing else.
    std::optional<size_t> FindList(const ListRegistry& registry, const std::string& name);
    void Row(std::initializer_list<std::string_view> cells);
    void FlushSometimes();
    int Fail(const std::string& message) {
        m_err << message << "\n";
        return kFailed;
    }

    const CliEnvironment& m_environment;
    std::ostream& m_out;
    std::ostream& m_err;
    DataFolder m_data;
    std::string m_output; // rows not yet written
    bool m_csv = false;
};

// Removes the flag from args; returns whether it was there.
bool TakeFlag(std::vector<std::string>& args, std::string_view flag) {
    const auto found = std::find(args.begin(), args.end(), flag);
    if (found == args.end())
        return false;
    args.erase(found);
    return true;
}

bool IsFolder(const std::string& path) {
    return KindOfPath(path) == PathKind::Folder;
}

int ParseGroup(const std::string& text) {
    const auto value = TryParseSizeText(text);
    if (!value || *value < kFirstGroup || *value > kLastGroup)
        throw UsageError{"Skupina musí být číslo 2 až 8: " + text};
    return static_cast<int>(*value);
}

void Cli::Row(std::initializer_list<std::string_view> cells) {
    bool first = true;
    for (std::string_view cell : cells) {
        if (!first)
            m_output.push_back('\t');
        m_output.append(cell);
        first = false;
    }
    m_output.push_back('\n');
    FlushSometimes();
}

void Cli::FlushSometimes() {
    if (m_output.size() >= (1u << 20)) { // hand rows on in pieces, not the whole output at once
        m_out << m_output;
        m_output.clear();
    }
}

ListRegistry Cli::LoadRegistry() const {
    ListRegistry registry;
    NativeDirectoryWalker walker;
    FindLists(registry, m_data.ListFolder(), kListPattern, m_data.SettingsPath(), walker);
    return registry;
}

std::optional<size_t> Cli::FindList(const ListRegistry& registry, const std::string& name) {
    for (size_t i = 0; i < registry.ListInfos.size(); ++i) {
        if (ListCaption(registry.ListInfos[i].FileName) == name)
            return i;
    }
    for (size_t i = 0; i < registry.ListInfos.size(); ++i) {
        if (registry.ListInfos[i].FileName == name)
            return i;
    }
    m_err << "Seznam \"" << name << "\" neexistuje.\n";
    return std::nullopt;
}

int Cli::Run(std::vector<std::string> args) {
    if (args.size() >= 2 && args[0] == "--data") {
        m_data = DataFolder(args[1]);
        args.erase(args.begin(), args.begin() + 2);
    }
    RemoveStaleTemporaries(m_data); // left by a writer that was killed
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            m_out << kCliUsage;
            return 0;
        }
    }
    if (args.empty())
        throw UsageError{"chybí příkaz"};
    const std::string command = args[0];
    args.erase(args.begin());
    int status = kUsage;
    if (command == "scan")
        status = Scan(args);
    else if (command == "lists" && args.empty())
        status = Lists();
    else if (command == "tree")
        status = Tree(args);
    else if (command == "rescan")
        status = Rescan(args);
    else if (command == "show")
        status = Show(args);
    else if (command == "search")
        status = Search(args);
    else
        throw UsageError{"neznámý příkaz: " + command};
    m_out << m_output;
    m_out.flush();
    return status;
}

int Cli::Scan(const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    int group = kDefaultGroup;
    bool foldersOnly = false;
    bool overwrite = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--group" && i + 1 < args.size())
            group = ParseGroup(args[++i]);
        else if (args[i] == "--folders-only")
            foldersOnly = true;
        else if (args[i] == "--overwrite")
            overwrite = true;
        else if (args[i].starts_with("--"))
            throw UsageError{"neznámá volba: " + args[i]};
        else
            positional.push_back(args[i]);
    }
    if (positional.size() != 2)
        throw UsageError{"scan potřebuje FOLDER a NAME"};
    const std::string& name = positional[1];
    if (positional[0].empty() || name.empty())
        return Fail("Zadejte složku a název souboru!");
    if (const auto problem = NamedListProblem(m_data, name))
        return Fail(*problem);
    if (!IsFolder(positional[0]))
        return Fail("Složka \"" + positional[0] + "\" neexistuje.");
    std::string root = std::filesystem::absolute(positional[0]).lexically_normal().string();
    if (root.back() != kNativeSeparator)
        root.push_back(kNativeSeparator);

    if (KindOfPath(m_data.ListFilePath(name)) != PathKind::Missing && !overwrite)
        return Fail("Tento název seznamu už existuje!");
    try {
        NativeDirectoryWalker walker;
        ScanLines lines;
        const NamedList list{root, name, group,
                             ScanOptions{foldersOnly, m_environment.regional.timeSeparator}};
        // The list is written, but it must not pass for a whole catalogue of the folder.
        if (const size_t unreadable = CreateNamedList(m_data, walker, list, lines))
            return Fail(UnreadableFoldersText(unreadable));
    } catch (const VypisnikError& error) {
        return Fail(error.what());
    }
    return 0;
}

int Cli::Lists() {
    const ListRegistry registry = LoadRegistry();
    const RegionalSettings& regional = m_environment.regional;
    int status = 0;
    for (const rsznListInfo& info : registry.ListInfos) {
        std::string total = "0";
        try {
            total = HeaderTotal(ReadFirstLine(info.FullPath));
        } catch (const VypisnikError& error) {
            status = Fail(error.what());
        }
        std::string size;
        if (const auto value = TryParseSizeText(total))
            size = FormatTreeSize(total, regional);
        else
            status = Fail(InvalidIntegerText(total));
        const GroupInfo& group = GroupById(info.Group);
        Row({ListCaption(info.FileName), std::to_string(group.id), group.caption, size,
             FormatListDate(info.Date, regional), FormatListTime(info.Time, regional)});
    }
    return status;
}

int Cli::Tree(const std::vector<std::string>& args) {
    if (args.size() != 1)
        throw UsageError{"tree potřebuje NAME"};
    const ListRegistry registry = LoadRegistry();
    const auto list = FindList(registry, args[0]);
    if (!list)
        return kFailed;
    const FolderHierarchy hierarchy = FolderHierarchy::Read(registry.ListPaths[*list]);
    if (!hierarchy.Error().empty())
        return Fail(hierarchy.Error());

    // Children in file order, walked depth first: the tree's own order.
    const size_t count = hierarchy.Count();
    std::vector<int32_t> firstChild(count + 1, -1), nextSibling(count, -1),
        lastChild(count + 1, -1);
    for (size_t i = 0; i < count; ++i) {
        const size_t parent =
            hierarchy.Parent(i) < 0 ? count : static_cast<size_t>(hierarchy.Parent(i));
        if (lastChild[parent] < 0)
            firstChild[parent] = static_cast<int32_t>(i);
        else
            nextSibling[static_cast<size_t>(lastChild[parent])] = static_cast<int32_t>(i);
        lastChild[parent] = static_cast<int32_t>(i);
    }
    int status = 0;
    std::vector<std::pair<int32_t, int>> stack; // node, depth
    if (firstChild[count] >= 0)
        stack.push_back({firstChild[count], 1});
    while (!stack.empty()) {
        const auto [node, depth] = stack.back();
        stack.pop_back();
        const auto i = static_cast<size_t>(node);
        if (nextSibling[i] >= 0)
            stack.push_back({nextSibling[i], depth});
        if (firstChild[i] >= 0)
            stack.push_back({firstChild[i], depth + 1});
        std::string size;
        if (TryParseSizeText(hierarchy.SizeText(i)))
            size = FormatTreeSize(hierarchy.SizeText(i), m_environment.regional);
        else
            status = Fail(InvalidIntegerText(hierarchy.SizeText(i)));
        Row({std::to_string(depth), hierarchy.Caption(i), hierarchy.Path(i), size,
             hierarchy.DateText(i), hierarchy.TimeText(i)});
    }
    return status;
}

int Cli::Rescan(const std::vector<std::string>& args) {
    bool force = false;
    std::vector<std::string> positional;
    for (const std::string& arg : args) {
        if (arg == "--force")
            force = true;
        else if (arg.starts_with("--"))
            throw UsageError{"neznámá volba: " + arg};
        else
            positional.push_back(arg);
    }
    if (positional.size() != 1)
        throw UsageError{"rescan potřebuje NAME"};
    const ListRegistry registry = LoadRegistry();
    const auto list = FindList(registry, positional[0]);
    if (!list)
        return kFailed;
    try {
        ListRescan rescan(registry.ListPaths[*list]);
        NativeDirectoryWalker walker;
        switch (rescan.Prepare(walker, m_environment.regional.timeSeparator)) {
        case ListRescan::Outcome::Ready:
            break;
        case ListRescan::Outcome::RootUnavailable:
            return Fail(RootUnavailableText(rescan.Root()));
        case ListRescan::Outcome::Cancelled:
            return kFailed; // nothing here stops a scan
        }
        const RescanSummary& summary = rescan.Summary();
        if (summary.MostWouldDisappear() && !force)
            return Fail(MostWouldDisappearText(summary) +
                        " Seznam zůstal beze změny; nahradíte jej volbou --force.");
        rescan.Commit();
        for (const std::string& line : RescanSummaryLines(summary, m_environment.regional))
            m_output += line + "\n";
        // The list is written, but it must not pass for a whole catalogue of the folder.
        if (summary.unreadableFolders > 0)
            return kFailed;
    } catch (const VypisnikError& error) {
        return Fail(error.what());
    }
    return 0;
}

int Cli::Show(std::vector<std::string> args) {
    m_csv = TakeFlag(args, "--csv");
    if (args.empty() || args.size() > 2)
        throw UsageError{"show potřebuje NAME [FOLDER]"};
    const ListRegistry registry = LoadRegistry();
    const auto list = FindList(registry, args[0]);
    if (!list)
        return kFailed;
    const FolderRows rows =
        FolderRows::Read(registry.ListPaths[*list], args.size() == 2 ? args[1] : "");
    if (!rows.Error().empty())
        return Fail(rows.Error());
    std::vector<std::string_view> names;
    names.reserve(rows.Count());
    for (size_t i = 0; i < rows.Count(); ++i)
        names.push_back(rows.Caption(i));
    const RegionalSettings& regional = m_environment.regional;
    if (m_csv)
        AppendFolderRowsCsvHeader(m_output);
    for (size_t i : NameCollator(m_environment.collationLocale).StableOrder(names)) {
        if (!m_csv) {
            Row({rows.Caption(i), FormatMB(rows.Size(i), regional),
                 FormatExactSize(rows.SizeText(i)), rows.DateText(i), rows.TimeText(i)});
            continue;
        }
        AppendFolderRowCsv(rows, i, regional, m_output);
        FlushSometimes();
    }
    if (m_csv)
        return 0;
    m_output += "Počet souborů: " + std::to_string(rows.Count()) + "\n";
    m_output += "Velikost: " + FormatMB(rows.Total(), regional) + "\n";
    return 0;
}

int Cli::Search(std::vector<std::string> args) {
    m_csv = TakeFlag(args, "--csv");
    GroupFilter groups{true, true, true, true, true, true, true};
    std::optional<std::string> text;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--groups" && i + 1 < args.size()) {
            groups = {};
            std::string_view ids = args[++i];
            while (!ids.empty()) {
                const size_t comma = ids.find(',');
                groups[static_cast<size_t>(ParseGroup(std::string(ids.substr(0, comma))) -
                                           kFirstGroup)] = true;
                ids = comma == std::string_view::npos ? std::string_view() : ids.substr(comma + 1);
            }
        } else if (!text) {
            text = args[i];
        } else {
            throw UsageError{"search potřebuje jeden TEXT"};
        }
    }
    if (!text)
        throw UsageError{"search potřebuje TEXT"};
    const ListRegistry registry = LoadRegistry();
    const SearchResult result = SearchLists(*text, groups, registry);

    // The table's first order: by list name, found order within a name.
    std::vector<std::string> listNames;
    for (const rsznListInfo& info : registry.ListInfos)
        listNames.push_back(ListNameOf(info));
    const NameCollator collator(m_environment.collationLocale);
    const std::vector<size_t> order = OrderByListName(
        result.rows, RankListNames(listNames, [&collator](std::string_view a, std::string_view b) {
            return collator.Compare(a, b);
        }));
    const RegionalSettings& regional = m_environment.regional;
    if (m_csv)
        AppendSearchRowsCsvHeader(m_output);
    for (size_t i : order) {
        const SearchRow& row = result.rows[i];
        const std::string& listName = listNames[static_cast<size_t>(row.ListIndex())];
        if (!m_csv) {
            Row({listName, row.Path(), SearchSizeCell(row.SizeText(), regional),
                 FormatExactSize(row.SizeText()), row.DateText(), row.TimeText()});
            continue;
        }
        AppendSearchRowCsv(row, listName, regional, m_output);
        FlushSometimes();
    }
    if (!m_csv) {
        m_output += "Nalezených souborů: " + std::to_string(result.filesFound) + "\n";
        m_output += "Nalezených adresářů: " + std::to_string(result.foldersFound) + "\n";
    }
    for (const std::string& error : result.errors)
        m_err << error << "\n";
    return result.errors.empty() ? 0 : kFailed;
}

} // namespace

int RunCli(const std::vector<std::string>& args, const CliEnvironment& environment,
           std::ostream& out, std::ostream& err) {
    try {
        return Cli(environment, out, err).Run(args);
    } catch (const UsageError& usage) {
        err << "vypisnik-cli: " << usage.message << "\n\n" << kCliUsage;
        return kUsage;
    } catch (const std::exception& error) {
        err << error.what() << "\n";
        return kFailed;
    }
}

} // namespace vyp
