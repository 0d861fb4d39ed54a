// A command line that is not understood: thrown by the parsing of a command's words and by a
// command that finds them wrong, before it touches the data folder. RunCli prints the message
// with the usage and ends with exit status 2.
#pragma once

#include <string>

namespace vyp {

struct UsageError {
    std::string message;
};

} // namespace vyp
