#include "CompanionProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace vyp::test {

CompanionProcess::~CompanionProcess() = default; // the system keeps an unwaited child's status

bool CompanionProcess::Start() {
    std::string program = ProgramPath();
    std::vector<char*> argv{program.data()};
    for (std::string& arg : m_args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, m_errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    const int err = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    m_process = err == 0 ? pid : -1;
    return err == 0;
}

namespace {
int ExitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

int CompanionProcess::Wait() {
    if (m_status == -2 && m_process == -1)
        m_status = -1; // never started
    if (m_status == -2) {
        int status = 0;
        const auto pid = static_cast<pid_t>(m_process);
        m_status = ::waitpid(pid, &status, 0) == pid ? ExitStatus(status) : -1;
    }
    return m_status;
}

bool CompanionProcess::Ended() {
    if (m_status != -2 || m_process == -1)
        return true;
    int status = 0;
    const auto pid = static_cast<pid_t>(m_process);
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == 0)
        return false;
    m_status = done == pid ? ExitStatus(status) : -1;
    return true;
}

} // namespace vyp::test
