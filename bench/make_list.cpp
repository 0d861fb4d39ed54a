// Writes a deterministic list file for the reader and search benchmarks: LINES lines in all,
// one folder ("Velka\Slozka\") holding BIG files, the rest spread over folders of 1 to 60
// files each. Names look like those of real disks: Czech, German, French, Cyrillic and CJK
// words, spaces, several dots, mixed case. About one file in 60,000 is named "Rarita ..." and
// lies in a folder with accents, for searches that find a few hundred lines; SEED makes
// lists that differ.
//
//   vyp-make-list FILE [LINES=1000000] [BIG=100000] [SEED=1]
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
const char* const kWords[] = {
    "data",         "Photo",         "záloha",     "Hudba",      "film",         "setup",
    "READ ME",      "Dokument",      "archiv.old", "obrázek",    "IMG",          "track",
    "Übersicht",    "Größe",         "Straße",     "Café",       "Crème brûlée", "Noël",
    "Фотографии",   "Музыка",        "документ",   "東京",       "写真",         "音楽",
    "Přehled účtů", "Žluťoučký kůň", "ŘEŠENÍ",     "Mix.Of.Dots"};
constexpr size_t kWordCount = sizeof kWords / sizeof kWords[0];
const char* const kExtensions[] = {"txt", "JPG", "mp3", "exe", "dll", "tar.gz", "avi", "doc"};

void FileLine(std::string& out, long serial, bool rare) {
    out += rare ? "Rarita" : kWords[Next() % kWordCount];
    out += (Next() % 3 == 0 ? " " : "_") + std::to_string(serial) + "." + kExtensions[Next() % 8] +
           "\t" + std::to_string(Next() % 5000000) + "\t" + std::to_string(1995 + Next() % 30) +
           "." + std::to_string(1 + Next() % 12) + "." + std::to_string(1 + Next() % 28) + "\t" +
           std::to_string(Next() % 24) + ":" + std::to_string(Next() % 60) + "." +
           std::to_string(2 * (Next() % 30)) + "\r\n";
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vyp-make-list FILE [LINES] [BIG] [SEED]\n");
        return 2;
    }
    const long lines = argc > 2 ? std::atol(argv[2]) : 1000000;
    const long big = argc > 3 ? std::atol(argv[3]) : 100000;
    if (argc > 4)
        g_random = vyp::bench::DeterministicRandom(0x2545F4914F6CDD1DULL *
                                                   std::strtoull(argv[4], nullptr, 10));
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr)
        return 1;
    std::string out = "E:\\\t123456789012\r\n";
    long written = 1, serial = 0, folder = 0;
    bool bigDone = false;
    while (written < lines) {
        const bool isBig = !bigDone && written > lines / 2;
        const bool rareFolder = Next() % 2000 == 0;
        const std::string path =
            isBig ? std::string("Velka\\Slozka\\")
                  : std::string(kWords[Next() % kWordCount]) + " " + std::to_string(folder / 50) +
                        "\\" + (rareFolder ? "Sborník" : kWords[Next() % kWordCount]) + " " +
                        std::to_string(folder) + "\\";
        ++folder;
        out += path + "\t" + std::to_string(Next() % 900000000) + "\t2004.1.15\t9:30.0\r\n";
        ++written;
        const long files = isBig ? big : static_cast<long>(1 + Next() % 60);
        bigDone = bigDone || isBig;
        for (long i = 0; i < files && written < lines; ++i, ++written)
            FileLine(out, serial++, rareFolder && i == 0);
        if (out.size() > (1 << 20)) {
            std::fwrite(out.data(), 1, out.size(), file);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
    return 0;
}
