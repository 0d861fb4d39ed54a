// Writes a deterministic list file for the reader and search benchmarks: LINES lines in all,
// one folder ("Velka\Slozka\") holding BIG files, the rest spread over folders of 1 to 60
// files each.
//
//   vyp-make-list FILE [LINES=1000000] [BIG=100000]
#include "BenchUtil.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
vyp::bench::DeterministicRandom g_random(0x2545F4914F6CDD1DULL);
uint64_t Next() {
    return g_random.Next();
}
const char* const kWords[] = {"data",     "Photo",  "backup",  "hudba", "film",  "setup", "readme",
                              "dokument", "archiv", "obrazek", "IMG",   "track", "save",  "level"};
const char* const kExtensions[] = {"txt", "jpg", "mp3", "exe", "dll", "zip", "avi", "doc"};

void FileLine(std::string& out, long serial) {
    out += kWords[Next() % 14];
    out += "_" + std::to_string(serial) + "." + kExtensions[Next() % 8] + "\t" +
           std::to_string(Next() % 5000000) + "\t" + std::to_string(1995 + Next() % 30) + "." +
           std::to_string(1 + Next() % 12) + "." + std::to_string(1 + Next() % 28) + "\t" +
           std::to_string(Next() % 24) + ":" + std::to_string(Next() % 60) + "." +
           std::to_string(2 * (Next() % 30)) + "\r\n";
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vyp-make-list FILE [LINES] [BIG]\n");
        return 2;
    }
    const long lines = argc > 2 ? std::atol(argv[2]) : 1000000;
    const long big = argc > 3 ? std::atol(argv[3]) : 100000;
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr)
        return 1;
    std::string out = "E:\\\t123456789012\r\n";
    long written = 1, serial = 0, folder = 0;
    bool bigDone = false;
    while (written < lines) {
        const bool isBig = !bigDone && written > lines / 2;
        const std::string path = isBig ? std::string("Velka\\Slozka\\")
                                       : "Slozka" + std::to_string(folder / 50) + "\\Podslozka" +
                                             std::to_string(folder) + "\\";
        ++folder;
        out += path + "\t" + std::to_string(Next() % 900000000) + "\t2004.1.15\t9:30.0\r\n";
        ++written;
        const long files = isBig ? big : static_cast<long>(1 + Next() % 60);
        bigDone = bigDone || isBig;
        for (long i = 0; i < files && written < lines; ++i, ++written)
            FileLine(out, serial++);
        if (out.size() > (1 << 20)) {
            std::fwrite(out.data(), 1, out.size(), file);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
    return 0;
}
