// A command-line companion (or any program) run as a real process of its own, its output
// thrown away and its error output kept in a file: for tests of instances that run at once.
// Linux only.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace vyp::test {

class CompanionProcess {
public:
    CompanionProcess(std::string program, std::vector<std::string> args, std::string errorPath);

    // Starts the process; false when the system refused.
    bool Start();
    // Waits for its end: the exit status, or -1 when it did not exit by itself.
    int Wait();
    // Whether it has ended; its status is then kept for Wait.
    bool Ended();
    std::string Errors() const;

private:
    std::string m_program;
    std::vector<std::string> m_args;
    std::string m_errorPath;
    pid_t m_pid = -1;
    int m_status = -2; // -2 while it runs
};

} // namespace vyp::test
