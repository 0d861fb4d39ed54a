#include "lists/SizeText.h"

#include "util/Errors.h"

#include <charconv>

namespace vyp {

std::optional<int64_t> TryParseSizeText(std::string_view text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty())
        return std::nullopt;
    // Up to 18 digits cannot leave the range: added up in place, as every row of a search that
    // prints millions asks this.
    if (digits.size() <= 18) {
        int64_t value = 0;
        for (const char c : digits) {
            const auto digit = static_cast<unsigned>(c - '0');
            if (digit > 9)
                return std::nullopt;
            value = value * 10 + static_cast<int64_t>(digit);
        }
        return negative ? -value : value;
    }
    uint64_t magnitude = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
        return std::nullopt;
    constexpr uint64_t kMaxPositive = static_cast<uint64_t>(INT64_MAX);
    if (negative) {
        if (magnitude > kMaxPositive + 1)
            return std::nullopt;
        return magnitude == kMaxPositive + 1 ? INT64_MIN : -static_cast<int64_t>(magnitude);
    }
    if (magnitude > kMaxPositive)
        return std::nullopt;
    return static_cast<int64_t>(magnitude);
}

int64_t ParseSizeText(std::string_view text) {
    if (const auto value = TryParseSizeText(text))
        return *value;
    throw VypisnikError(InvalidIntegerText(text));
}

} // namespace vyp
