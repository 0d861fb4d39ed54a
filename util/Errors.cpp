#include "util/Errors.h"

#include "platform/SystemError.h"

#include <initializer_list>

namespace vyp {

namespace {
std::string Reason(int err) {
    return SystemErrorText(err);
}

// The texts are built by appending: GCC 12 at -O3 takes "literal" + std::string for an
// overlapping copy and warns (-Wrestrict) where none can happen.
std::string Joined(std::initializer_list<std::string_view> parts) {
    size_t size = 0;
    for (std::string_view part : parts)
        size += part.size();
    std::string text;
    text.reserve(size);
    for (std::string_view part : parts)
        text.append(part);
    return text;
}
} // namespace

std::string FileOpenErrorText(std::string_view path, int err) {
    return Joined({"Cannot open file \"", path, "\". ", Reason(err)});
}

std::string FileWriteErrorText(std::string_view path, int err) {
    return Joined({"Cannot write file \"", path, "\". ", Reason(err)});
}

std::string InvalidIntegerText(std::string_view text) {
    return Joined({"'", text, "' is not a valid integer value"});
}

std::string ListIndexErrorText(long long index) {
    return Joined({"List index out of bounds (", std::to_string(index), ")"});
}

} // namespace vyp
