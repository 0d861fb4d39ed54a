#include "CompanionProcess.h"

#include "TestSupport.h" // FsPath

#include <windows.h>

namespace vyp::test {

namespace {

HANDLE Handle(intptr_t process) {
    return reinterpret_cast<HANDLE>(process);
}

// One argument as the C runtime of the started program splits its command line again: in
// quotes, a run of backslashes doubled where a quote follows it (a folder ending in "\" too).
std::wstring Quoted(const std::wstring& arg) {
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

HANDLE InheritedFile(const std::wstring& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

CompanionProcess::~CompanionProcess() {
    if (m_process != -1)
        ::CloseHandle(Handle(m_process));
}

bool CompanionProcess::Start() {
    const std::wstring program = FsPath(ProgramPath()).wstring();
    std::wstring commandLine = Quoted(program);
    for (const std::string& arg : m_args)
        commandLine += L" " + Quoted(FsPath(arg).wstring());
    const HANDLE nothing = InheritedFile(L"NUL", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    const HANDLE errors =
        InheritedFile(FsPath(m_errorPath).wstring(), GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = nothing;
    startup.hStdError = errors;
    PROCESS_INFORMATION started{};
    const bool ok = nothing != INVALID_HANDLE_VALUE && errors != INVALID_HANDLE_VALUE &&
                    ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                     CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started);
    if (nothing != INVALID_HANDLE_VALUE)
        ::CloseHandle(nothing);
    if (errors != INVALID_HANDLE_VALUE)
        ::CloseHandle(errors);
    if (!ok)
        return false;
    ::CloseHandle(started.hThread);
    m_process = reinterpret_cast<intptr_t>(started.hProcess);
    return true;
}

int CompanionProcess::Wait() {
    if (m_status == -2 && m_process == -1)
        m_status = -1; // never started
    if (m_status == -2) {
        DWORD code = 0;
        const bool ended = ::WaitForSingleObject(Handle(m_process), INFINITE) == WAIT_OBJECT_0 &&
                           ::GetExitCodeProcess(Handle(m_process), &code);
        m_status = ended ? static_cast<int>(code) : -1;
    }
    return m_status;
}

bool CompanionProcess::Ended() {
    if (m_status != -2 || m_process == -1)
        return true;
    if (::WaitForSingleObject(Handle(m_process), 0) == WAIT_TIMEOUT)
        return false;
    Wait();
    return true;
}

} // namespace vyp::test
