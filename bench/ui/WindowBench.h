// What the window benchmarks share: the program's windows on a data folder of real lists,
// started as the window tests start them (tests/ui/ProgramWindows.h), and the table the
// benchmark program chooses a benchmark from by its first argument.
#pragma once

#include "BenchUtil.h"
#include "ProgramWindows.h"

#include "lists/ListRegistry.h"
#include "platform/Native.h"
#include "ui/common/FileTypeIcons.h"
#include "ui/common/TreeGrid.h"

#include <memory>
#include <string>
#include <vector>

namespace vyp::bench {

// The words after the benchmark's name on the command line, and the program's own path.
struct BenchArguments {
    std::string self;
    std::vector<std::string> words;
    // The word at index, or otherwise when it was not given.
    std::string At(size_t index, const std::string& otherwise = {}) const {
        return index < words.size() ? words[index] : otherwise;
    }
};

struct WindowBench {
    const char* name;
    const char* usage; // the arguments it takes, for the usage line
    size_t required;   // how many of them must be given
    int (*run)(const BenchArguments& arguments);
};

// The main window on the lists of data (its Seznamy and settings.ini), through the system's
// folders and file-type pictures, shown; with the progress window of the program if asked for.
// The search and new-list windows beside it when a benchmark opens them.
class BenchWindows {
public:
    explicit BenchWindows(const std::string& data, bool withProgress = false);
    BenchWindows(const BenchWindows&) = delete;
    BenchWindows& operator=(const BenchWindows&) = delete;

    TfLV& Main() { return *m_windows.main; }
    TreeGrid& Tree() { return *Main().findChild<TreeGrid*>(QStringLiteral("VSTTree")); }
    TreeGrid& View() { return *Main().findChild<TreeGrid*>(QStringLiteral("VSTView")); }
    TfFind& OpenSearch();
    // The new-list window, attached and shown.
    TfNewList& OpenNewList();
    // The duplicates window, attached and shown.
    TfDuplicates& OpenDuplicates();

private:
    NativeDirectoryWalker m_walker;
    MimeFileTypeIcons m_icons;
    test::RunningWindows m_windows;
};

// The lists the program finds in data, in the registry's order.
ListRegistry ListsIn(const std::string& data);

int TreeBench(const BenchArguments& arguments);
int StartupBench(const BenchArguments& arguments);
int SelectBench(const BenchArguments& arguments);
int TableBench(const BenchArguments& arguments);
int NewListBench(const BenchArguments& arguments);
int SearchBench(const BenchArguments& arguments);
int DuplicatesBench(const BenchArguments& arguments);
int CompareBench(const BenchArguments& arguments);

} // namespace vyp::bench
