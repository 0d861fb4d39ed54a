// Errors that the core raises towards the windows. Their texts are the ones the user reads in
// the program's error report, so they follow the wording the program has always used.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vyp {

// An error whose message is shown to the user as it stands.
class VypisnikError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Cannot open file "PATH". REASON" for the system error number err.
std::string FileOpenErrorText(std::string_view path, int err);
// "Cannot write file "PATH". REASON" for the system error number err.
std::string FileWriteErrorText(std::string_view path, int err);
// "'TEXT' is not a valid integer value"
std::string InvalidIntegerText(std::string_view text);
// "List index out of bounds (INDEX)"
std::string ListIndexErrorText(long long index);

} // namespace vyp
