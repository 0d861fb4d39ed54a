#include "CompanionProcess.h"

#include "TestSupport.h"

#include "platform/Files.h" // ExecutableFolder

namespace vyp::test {

CompanionProcess::CompanionProcess(std::string program, std::vector<std::string> args,
                                   std::string errorPath)
    : m_program(std::move(program)), m_args(std::move(args)), m_errorPath(std::move(errorPath)) {}

CompanionProcess::CompanionProcess(CompanionProcess&& other) noexcept
    : m_program(std::move(other.m_program)), m_args(std::move(other.m_args)),
      m_errorPath(std::move(other.m_errorPath)), m_process(other.m_process),
      m_status(other.m_status) {
    other.m_process = -1;
}

std::string CompanionProcess::ProgramPath() const {
#ifdef _WIN32
    const bool absolute = m_program.size() > 2 && (m_program[1] == ':' || m_program[0] == '\\');
#else
    const bool absolute = m_program.starts_with('/');
#endif
    return absolute ? m_program : ExecutableFolder() + m_program;
}

std::string CompanionProcess::Errors() const {
    return ReadFile(m_errorPath);
}

} // namespace vyp::test
