#include "platform/DirectoryWalker.h"

#include <algorithm>

namespace vyp {

namespace {
unsigned char UpperAsciiByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}
} // namespace

bool NtfsNameLess(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char ca = UpperAsciiByte(a[i]);
        const unsigned char cb = UpperAsciiByte(b[i]);
        if (ca != cb)
            return ca < cb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

} // namespace vyp
