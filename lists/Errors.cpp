#include "lists/Errors.h"

#include <cstring>

namespace vyp {

namespace {
std::string Reason(int err) {
    std::string reason = std::strerror(err);
    return reason;
}
} // namespace

std::string FileOpenErrorText(std::string_view path, int err) {
    return "Cannot open file \"" + std::string(path) + "\". " + Reason(err);
}

std::string FileWriteErrorText(std::string_view path, int err) {
    return "Cannot write file \"" + std::string(path) + "\". " + Reason(err);
}

std::string InvalidIntegerText(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

std::string ListIndexErrorText(long long index) {
    return "List index out of bounds (" + std::to_string(index) + ")";
}

} // namespace vyp
