// Generates a deterministic folder tree for the scan benchmark: FILES files spread over FOLDERS
// folders (nested up to five deep), with names of many languages, sizes (every 997th file sparse
// and larger than 2 GiB) and last-write times.
//
//   vyp-make-tree ROOT [FILES=200000] [FOLDERS=20000]
#include "BenchUtil.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

vyp::bench::DeterministicRandom g_random(0x9E3779B97F4A7C15ULL);
uint64_t Next() {
    return g_random.Next();
}

// Words of the names on real disks: Czech, German, French, Cyrillic and CJK, with spaces.
const char* const kWords[] = {"data",  "Photo",           "backup",    "Hudba",    "film",
                              "setup", "readme",          "Dokumenty", "archiv",   "obrázek",
                              "IMG",   "track",           "Übersicht", "Été 2019", "Фотографии",
                              "写真",  "Dovolená u moře", "Straße",    "Москва",   "音楽 ライブ"};
constexpr uint64_t kWordCount = sizeof kWords / sizeof kWords[0];
const char* const kExtensions[] = {"txt", "jpg", "mp3", "exe", "dll", "zip", "avi",
                                   "doc", "png", "iso", "",    "ini", "TXT", "gz"};

std::string Name(int serial, bool folder) {
    std::string name = kWords[Next() % kWordCount];
    name += "_" + std::to_string(serial);
    if (!folder) {
        const char* ext = kExtensions[Next() % 14];
        if (*ext != '\0')
            name += std::string(".") + ext;
    }
    return name;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vyp-make-tree ROOT [FILES] [FOLDERS]\n");
        return 2;
    }
    const std::string root = argv[1];
    const int files = argc > 2 ? std::atoi(argv[2]) : 200000;
    const int folders = argc > 3 ? std::atoi(argv[3]) : 20000;
    std::filesystem::create_directories(root);

    std::vector<std::string> paths = {root};
    std::vector<int> depth = {0};
    for (int i = 0; i < folders; ++i) {
        size_t parent = Next() % paths.size();
        while (depth[parent] >= 5)
            parent = Next() % paths.size();
        paths.push_back(paths[parent] + "/" + Name(i, true));
        depth.push_back(depth[parent] + 1);
        ::mkdir(paths.back().c_str(), 0755);
    }
    const int64_t base = 946684800; // 2000-01-01
    for (int i = 0; i < files; ++i) {
        const std::string& folder = paths[Next() % paths.size()];
        const std::string path = folder + "/" + Name(i, false);
        const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        if (fd < 0)
            continue;
        const int64_t size = i % 997 == 0 ? (3LL << 30) + i : static_cast<int64_t>(Next() % 70000);
        if (::ftruncate(fd, size) != 0)
            std::perror("ftruncate");
        ::close(fd);
        const int64_t when = base + static_cast<int64_t>(Next() % (26LL * 365 * 86400));
        const timespec times[2] = {{when, 0}, {when, 0}};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    }
    std::printf("%d files in %d folders below %s\n", files, folders, root.c_str());
    return 0;
}
