// Window benchmarks, offscreen; bench/README.md gives each one's data and targets.
//   tree    — the list tree of 100 lists of 10,000 folder lines each against the core reading
//             the same hierarchies; expanding a list node and scrolling (TreeBench.cpp).
//   startup — the tree of every list in DATA/Seznamy against `cat` of the same files, and the
//             memory the tree holds per folder node (StartupBench.cpp).
//   select  — selecting "Velka\Slozka\" in the first list against the same folder in a list
//             that holds only it (SelectBench.cpp).
//   table   — filling and sorting the file table with a folder of 100,000 files against
//             grep -c over the same file (TableBench.cpp).
//   newlist — creating a list through the new-list window against the core scan, and the
//             longest time the window goes unpainted (NewListBench.cpp).
//   search  — searching a list of LINES lines for "." in the search window against
//             vypisnik-cli in the same run (SearchBench.cpp).
//   duplicates — the duplicates of every list in DATA in the duplicates window against
//             vypisnik-cli duplicates in the same run (DuplicatesBench.cpp).
//   compare — two lists of DATA compared through the main window against vypisnik-cli compare
//             in the same run (CompareBench.cpp).
#include "WindowBench.h"

#include "ui/common/Dialogs.h"
#include "ui/common/ErrorReport.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using vyp::bench::WindowBench;

const WindowBench kBenches[] = {
    {"tree", "[WORK]", 0, vyp::bench::TreeBench},
    {"startup", "DATA", 1, vyp::bench::StartupBench},
    {"select", "DATA", 1, vyp::bench::SelectBench},
    {"table", "LISTFILE", 1, vyp::bench::TableBench},
    {"newlist", "TREE [WORK]", 1, vyp::bench::NewListBench},
    {"search", "[LINES] [WORK]", 0, vyp::bench::SearchBench},
    {"duplicates", "DATA", 1, vyp::bench::DuplicatesBench},
    {"compare", "DATA [FIRST SECOND]", 1, vyp::bench::CompareBench},
};

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    vyp::Application app(argc, argv);
    vyp::Dialogs::StartScript();
    const std::string name = argc > 1 ? argv[1] : "";
    vyp::bench::BenchArguments arguments{argv[0], {}};
    for (int i = 2; i < argc; ++i)
        arguments.words.emplace_back(argv[i]);
    for (const WindowBench& bench : kBenches)
        if (name == bench.name && arguments.words.size() >= bench.required)
            return bench.run(arguments);
    std::string usage = "usage: vyp-bench-ui";
    for (const WindowBench& bench : kBenches)
        usage += std::string(&bench == kBenches ? " " : " | ") + bench.name + " " + bench.usage;
    std::fprintf(stderr, "%s\n", usage.c_str());
    return 2;
}
