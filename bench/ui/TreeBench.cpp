// The list tree of 100 lists of 10,000 folder lines each (1,000,000 folder nodes), written once
// under WORK, built by the main window against the core reading the same hierarchies; the peak
// memory, and how long expanding a list node and scrolling take.
#include "WindowBench.h"

#include "lists/FolderHierarchy.h"
#include "util/SafeFileWriter.h"

#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace vyp::bench {
namespace {

std::string MakeTreeLists(const std::string& work) {
    const std::string data = work + "/data";
    const std::string lists = data + "/Seznamy/";
    if (!std::filesystem::exists(lists + "List099.sez")) {
        std::filesystem::create_directories(lists);
        for (int list = 0; list < 100; ++list) {
            std::string bytes = "E:\\\t123456789\r\n";
            for (int top = 0, written = 0; written < 10000; ++top) {
                const std::string a = "Slozka" + std::to_string(top) + "\\";
                bytes += a + "\t" + std::to_string(1000 + top) + "\t2004.1.15\t9:30.0\r\n";
                ++written;
                for (int sub = 0; sub < 9 && written < 10000; ++sub, ++written)
                    bytes += a + "Podslozka" + std::to_string(sub) + "\\\t" + std::to_string(sub) +
                             "\t2004.1.15\t9:30.0\r\nsoubor.txt\t1\t2004.1.15\t9:30.0\r\n";
            }
            char name[32];
            std::snprintf(name, sizeof name, "List%03d.sez", list);
            WriteFileSafely(lists + name, bytes);
        }
    }
    return data;
}

} // namespace

int TreeBench(const BenchArguments& arguments) {
    const std::string data = MakeTreeLists(arguments.At(0, "/tmp/vyp-bench-ui"));
    const ListRegistry registry = ListsIn(data);
    size_t nodes = 0;
    const double coreSeconds = BestSeconds(3, [&] {
        nodes = 0;
        for (const std::string& path : registry.ListPaths)
            nodes += FolderHierarchy::Read(path).Count();
    });
    std::printf("core: %zu folder nodes\n", nodes);
    BenchWindows windows(data, true);
    const double buildSeconds = BestSeconds(3, [&windows] { windows.Main().RefreshLists(); });
    std::printf("core reading 100 hierarchies: %.3f s\n", coreSeconds);
    std::printf("tree build: %.3f s (%.2f x core; target <= 1.5)\n", buildSeconds,
                buildSeconds / coreSeconds);
    std::printf("peak memory after the builds: %.1f MiB (target < 400)\n", PeakMemoryMiB());

    TreeGrid& tree = windows.Tree();
    const NodeId group = tree.ChildAt(kNoNode, 6);
    const NodeId list = tree.ChildAt(group, 0);
    const Stopwatch expand;
    tree.expand(tree.Model().IndexOf(group));
    tree.expand(tree.Model().IndexOf(list));
    QApplication::processEvents();
    tree.repaint();
    std::printf("expanding a list of 1,000 top-level folders: %.1f ms\n", expand.Seconds() * 1000);
    const Stopwatch scroll;
    for (int step = 0; step < 50; ++step) {
        tree.verticalScrollBar()->setValue(tree.verticalScrollBar()->maximum() * step / 50);
        tree.repaint();
    }
    std::printf("scrolling through it, 50 repaints: %.1f ms each\n", scroll.Seconds() * 1000 / 50);
    return 0;
}

} // namespace vyp::bench
