#include "qtcore/NameCollator.h"

#include "platform/ParallelInOrder.h"

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
    // held while sorting. Parts are sorted side by side, each with a collator of its own (one
    // collator is not to be used by two threads at once), then merged.
    std::vector<QString> texts;
    texts.reserve(names.size());
    for (std::string_view name : names)
        texts.push_back(FromUtf8(name));
    std::vector<uint32_t> order(names.size());
    std::iota(order.begin(), order.end(), uint32_t{0});
    const size_t parts = names.size() < 20000 ? 1 : WorkerCount();
    std::vector<size_t> bounds;
    for (size_t part = 0; part <= parts; ++part)
        bounds.push_back(names.size() * part / parts);
    ParallelInOrder<bool>(
        parts,
        [&](size_t part) {
            QCollator collator(m_collator.locale());
            collator.setCaseSensitivity(m_collator.caseSensitivity());
            collator.setNumericMode(m_collator.numericMode());
            collator.setIgnorePunctuation(m_collator.ignorePunctuation());
            std::stable_sort(
                order.begin() + static_cast<std::ptrdiff_t>(bounds[part]),
                order.begin() + static_cast<std::ptrdiff_t>(bounds[part + 1]),
                [&](uint32_t a, uint32_t b) { return collator.compare(texts[a], texts[b]) < 0; });
            return true;
        },
        [](size_t, bool&&) {});
    const auto less = [&](uint32_t a, uint32_t b) {
        return m_collator.compare(texts[a], texts[b]) < 0;
    };
    for (size_t part = 1; part < parts; ++part)
        std::inplace_merge(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(bounds[part]),
                           order.begin() + static_cast<std::ptrdiff_t>(bounds[part + 1]), less);
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
