#include "platform/ConsoleProgram.h"

namespace vyp {

std::vector<std::string> ProgramWords(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void UseUtf8Console() {}

} // namespace vyp
