// Settings and registry benchmark: one key read and one key written in a settings file that
// holds 10,000 list entries, the same in a damaged one of 200,000 lines without "=" (2 MB),
// and FindLists over 10,000 list files.
//
//   vyp-bench-registry [FOLDER=/tmp/vyp-bench-registry]
#include "BenchUtil.h"
#include "lists/ListRegistry.h"
#include "lists/SettingsFile.h"
#include "platform/Native.h"
#include "util/SafeFileWriter.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "/tmp/vyp-bench-registry";
    const std::string lists = folder + "/Seznamy/";
    const std::string settingsPath = folder + "/settings.ini";
    constexpr int kLists = 10000;
    if (!std::filesystem::exists(lists)) {
        std::filesystem::create_directories(lists);
        std::string settings = "[fLV]\r\nSplitter=300\r\n[Seznamy]\r\n";
        for (int i = 0; i < kLists; ++i) {
            const std::string name = "Disk number " + std::to_string(i) + ".sez";
            vyp::WriteFileSafely(lists + name, "E:\\\t0\r\n");
            settings += name + "=" + std::to_string(2 + i % 7) + "\r\n";
        }
        vyp::WriteFileSafely(settingsPath, settings);
    }
    auto best = [](auto&& work) {
        double fastest = 1e9;
        for (int run = 0; run < 20; ++run) {
            const vyp::bench::Stopwatch watch;
            work();
            fastest = std::min(fastest, watch.Seconds());
        }
        return fastest * 1000.0;
    };
    int sink = 0;
    const double readMs = best([&] {
        sink += vyp::SettingsFile(settingsPath).ReadInteger("Seznamy", "Disk number 9999.sez", 8);
    });
    const double writeMs = best([&] {
        vyp::SettingsFile(settingsPath)
            .WriteInteger("Seznamy", "Disk number 5000.sez", 2 + sink % 7);
    });
    // Reading must stay linear whatever the lines hold.
    const std::string damagedPath = folder + "/damaged.ini";
    if (!std::filesystem::exists(damagedPath)) {
        std::string damaged = "[Seznamy]\r\n";
        for (int i = 0; i < 200000; ++i)
            damaged += "bez rovnítka\r\n";
        vyp::WriteFileSafely(damagedPath, damaged + "Hry.sez=2\r\n");
    }
    const double damagedMs = best([&] {
        vyp::SettingsFile settings(damagedPath);
        sink += settings.ReadInteger("Seznamy", "Hry.sez", 8);
        settings.WriteInteger("Seznamy", "Hry.sez", 2 + sink % 7);
    });
    vyp::NativeDirectoryWalker walker;
    vyp::ListRegistry registry;
    const double findMs =
        best([&] { vyp::FindLists(registry, lists, "*.sez", settingsPath, walker); });
    std::printf("settings read of one key: %.2f ms (target < 5)\n", readMs);
    std::printf("settings write of one key: %.2f ms (target < 5)\n", writeMs);
    std::printf("damaged settings (2 MB, no \"=\"), read and write: %.2f ms (target < 100)\n",
                damagedMs);
    std::printf("FindLists over %zu lists: %.2f ms (target < 50)\n", registry.ListPaths.size(),
                findMs);
    return 0;
}
