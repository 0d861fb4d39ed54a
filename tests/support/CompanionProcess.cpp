#include "CompanionProcess.h"

#include "TestSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace vyp::test {

CompanionProcess::CompanionProcess(std::string program, std::vector<std::string> args,
                                   std::string errorPath)
    : m_program(std::move(program)), m_args(std::move(args)), m_errorPath(std::move(errorPath)) {}

bool CompanionProcess::Start() {
    std::vector<char*> argv{m_program.data()};
    for (std::string& arg : m_args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, m_errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    const int err =
        ::posix_spawn(&m_pid, m_program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return err == 0;
}

namespace {
int ExitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

int CompanionProcess::Wait() {
    if (m_status == -2) {
        int status = 0;
        m_status = ::waitpid(m_pid, &status, 0) == m_pid ? ExitStatus(status) : -1;
    }
    return m_status;
}

bool CompanionProcess::Ended() {
    if (m_status != -2)
        return true;
    int status = 0;
    const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
    if (done == 0)
        return false;
    m_status = done == m_pid ? ExitStatus(status) : -1;
    return true;
}

std::string CompanionProcess::Errors() const {
    return ReadFile(m_errorPath);
}

} // namespace vyp::test
