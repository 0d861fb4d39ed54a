#include "platform/ConsoleProgram.h"

#include "platform/windows/WindowsApi.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace vyp {

std::vector<std::string> ProgramWords(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) // the narrow words are better than none
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> words;
    for (int i = 1; i < count; ++i)
        words.push_back(Utf8Text(std::wstring(wide[i])));
    ::LocalFree(wide);
    return words;
}

void UseUtf8Console() {
    ::SetConsoleOutputCP(CP_UTF8);
    ::SetConsoleCP(CP_UTF8);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

} // namespace vyp
