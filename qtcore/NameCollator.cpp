#include "qtcore/NameCollator.h"

#include <QString>

#include <algorithm>
#include <numeric>

namespace vyp {

namespace {
QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

NameCollator::NameCollator(const QLocale& locale) : m_collator(locale) {
    m_collator.setCaseSensitivity(Qt::CaseSensitive);
}

QCollatorSortKey NameCollator::Key(std::string_view utf8) const {
    return m_collator.sortKey(FromUtf8(utf8));
}

int NameCollator::Compare(std::string_view a, std::string_view b) const {
    return m_collator.compare(FromUtf8(a), FromUtf8(b));
}

std::vector<size_t> NameCollator::StableOrder(const std::vector<std::string_view>& names) const {
    std::vector<QCollatorSortKey> keys;
    keys.reserve(names.size());
    for (std::string_view name : names)
        keys.push_back(Key(name));
    std::vector<size_t> order(names.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](size_t a, size_t b) { return keys[a].compare(keys[b]) < 0; });
    return order;
}

} // namespace vyp
