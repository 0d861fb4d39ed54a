// Small helpers for the benchmark programs: wall-clock timing and peak memory.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace vyp::bench {

class Stopwatch {
public:
    Stopwatch() : m_start(std::chrono::steady_clock::now()) {}
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }

private:
    std::chrono::steady_clock::time_point m_start;
};

// The best wall-clock time of runs runs of work, in seconds: the run least disturbed by the rest
// of the machine.
template <typename Work> double BestSeconds(int runs, Work&& work) {
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        const Stopwatch watch;
        work();
        best = std::min(best, watch.Seconds());
    }
    return best;
}

// The same for a shell command; a run that fails is said on stderr.
inline double BestShellSeconds(int runs, const std::string& command) {
    return BestSeconds(runs, [&command] {
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "failed: %s\n", command.c_str());
    });
}

// xorshift64*: the same numbers on every run, so generated trees and lists are the same.
class DeterministicRandom {
public:
    explicit DeterministicRandom(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return m_state * 2685821657736338717ULL;
    }

private:
    uint64_t m_state;
};

// The peak resident memory of this process so far, in MiB.
inline double PeakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The processor time this process has used so far, on all its threads, user and system.
inline double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The memory the process holds now (resident set), in bytes.
inline double CurrentMemoryBytes() {
    long pages = 0, resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

} // namespace vyp::bench
