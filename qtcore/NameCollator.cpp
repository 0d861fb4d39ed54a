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

std::vector<uint32_t> NameCollator::Ranks(const std::vector<std::string_view>& names) const {
    // Compared directly rather than through sort keys: the collator skips the common start of
    // two names (rows of one folder share their path up to the name), and no key per name is
    // held while sorting.
    std::vector<QString> texts;
    texts.reserve(names.size());
    for (std::string_view name : names)
        texts.push_back(FromUtf8(name));
    std::vector<uint32_t> order(names.size());
    std::iota(order.begin(), order.end(), uint32_t{0});
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return m_collator.compare(texts[a], texts[b]) < 0;
    });
    std::vector<uint32_t> ranks(names.size());
    uint32_t rank = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && m_collator.compare(texts[order[i - 1]], texts[order[i]]) != 0)
            ++rank;
        ranks[order[i]] = rank;
    }
    return ranks;
}

} // namespace vyp
