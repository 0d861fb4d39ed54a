// Small helpers for the benchmark programs: wall-clock timing and peak memory.
#pragma once

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

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

// The peak resident memory of this process so far, in MiB.
inline double PeakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace vyp::bench
