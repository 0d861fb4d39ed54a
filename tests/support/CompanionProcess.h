// A command-line companion (or any program) run as a real process of its own, its output
// thrown away and its error output kept in a file: for tests of instances that run at once.
// A relative program path is taken from the test program's own folder (a cross build knows
// only where the companion lies from there). The system's part is in CompanionProcessPosix.cpp
// and CompanionProcessWindows.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vyp::test {

class CompanionProcess {
public:
    CompanionProcess(std::string program, std::vector<std::string> args, std::string errorPath);
    ~CompanionProcess();
    CompanionProcess(CompanionProcess&& other) noexcept;
    CompanionProcess& operator=(CompanionProcess&&) = delete;
    CompanionProcess(const CompanionProcess&) = delete;
    CompanionProcess& operator=(const CompanionProcess&) = delete;

    // Starts the process; false when the system refused.
    bool Start();
    // Waits for its end: the exit status, or -1 when it did not exit by itself.
    int Wait();
    // Whether it has ended; its status is then kept for Wait.
    bool Ended();
    std::string Errors() const;

private:
    std::string ProgramPath() const;

    std::string m_program;
    std::vector<std::string> m_args;
    std::string m_errorPath;
    intptr_t m_process = -1; // the process id on Linux, its handle on Windows; -1: none
    int m_status = -2;       // -2 while it runs
};

} // namespace vyp::test
