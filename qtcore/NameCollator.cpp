#include "qtcore/NameCollator.h"

#include "platform/ParallelInOrder.h"
#include "qtcore/CollationSketch.h"
#include "qtcore/Utf8.h"
#include "util/Utf8Decoding.h"

#include <QString>

#include <algorithm>
#include <numeric>

namespace vyp {

namespace {

// A name as UTF-16 for the collator, decoded into a buffer that is kept from name to name rather
// than a new QString each; bytes that are not UTF-8 go through Utf8, which decides how they show.
class Utf16Name {
public:
    QStringView Of(std::string_view name) {
        // Never more units than bytes.
        if (m_units.size() < name.size())
            m_units.resize(name.size());
        char16_t* out = m_units.data();
        for (size_t at = 0; at < name.size();) {
            const auto byte = static_cast<unsigned char>(name[at]);
            if (byte < 0x80) {
                *out++ = byte;
                ++at;
                continue;
            }
            char32_t code = 0;
            const size_t length = DecodeUtf8(name, at, code);
            if (length == 0) {
                m_fallback = Utf8(name);
                return m_fallback;
            }
            at += length;
            if (code < 0x10000) {
                *out++ = static_cast<char16_t>(code);
            } else {
                *out++ = static_cast<char16_t>(0xD7C0 + (code >> 10));
                *out++ = static_cast<char16_t>(0xDC00 | (code & 0x3FF));
            }
        }
        return QStringView(m_units.data(), out - m_units.data());
    }

private:
    std::u16string m_units;
    QString m_fallback;
};

} // namespace

NameCollator::NameCollator(const QLocale& locale) : m_collator(locale) {
    m_collator.setCaseSensitivity(Qt::CaseSensitive);
}

int NameCollator::Compare(std::string_view a, std::string_view b) const {
    return m_collator.compare(Utf8(a), Utf8(b));
}

std::vector<size_t> NameCollator::StableOrder(const std::vector<std::string_view>& names) const {
    const std::vector<uint32_t> ranks = Ranks(names);
    std::vector<size_t> order(names.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&ranks](size_t a, size_t b) { return ranks[a] < ranks[b]; });
    return order;
}

QCollator NameCollator::CopyForAnotherThread() const {
    QCollator collator(m_collator.locale());
    collator.setCaseSensitivity(m_collator.caseSensitivity());
    collator.setNumericMode(m_collator.numericMode());
    collator.setIgnorePunctuation(m_collator.ignorePunctuation());
    return collator;
}

std::vector<uint32_t> NameCollator::Ranks(const std::vector<std::string_view>& names,
                                          const std::function<void(double)>& progress) const {
    // Comparing two names with the collator costs about a tenth of a microsecond, and a sort
    // of a million names makes twenty million comparisons. So the sketch, which compares by
    // each character's place, puts the names nearly in order first; the collator then checks
    // each neighbour once, and only names found out of place are sorted by it. Equal names keep
    // their given order. Of the time, the sketch's order takes about half, the check the rest.
    const auto part = [&progress](double from, double share) {
        return std::function<void(double)>([&progress, from, share](double done) {
            if (progress)
                progress(from + share * done);
        });
    };
    const size_t count = names.size();
    const CollationSketch sketch(m_collator, names);
    std::vector<uint32_t> order = sketch.Order(names, part(0.05, 0.45));
    std::vector<int8_t> steps = NeighbourOrder(names, order, part(0.5, 0.45));
    if (!InOrder(order, steps)) {
        PutInOrder(names, order, steps);
        steps = NeighbourOrder(names, order);
    }
    if (progress)
        progress(1);
    std::vector<uint32_t> ranks(count);
    uint32_t rank = 0;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0 && steps[i - 1] != 0)
            ++rank;
        ranks[order[i]] = rank;
    }
    return ranks;
}

std::vector<int8_t>
NameCollator::NeighbourOrder(const std::vector<std::string_view>& names,
                             const std::vector<uint32_t>& order,
                             const std::function<void(double)>& progress) const {
    // Each part with a collator of its own: one collator is not to be used by two threads.
    // Many parts, so that the progress moves on often.
    const size_t pairs = order.empty() ? 0 : order.size() - 1;
    const size_t parts = pairs < 20000 ? 1 : 16 * WorkerCount();
    std::vector<int8_t> steps(pairs);
    ParallelInOrder<bool>(
        parts,
        [&](size_t part) {
            const QCollator collator = CopyForAnotherThread();
            const size_t first = pairs * part / parts, last = pairs * (part + 1) / parts;
            // Each name decoded once, into one of two buffers taking turns.
            Utf16Name buffers[2];
            size_t at = 0;
            QStringView current =
                first < last ? buffers[at].Of(names[order[first]]) : QStringView();
            for (size_t i = first; i < last; ++i) {
                // The same path in two lists: equal without asking (current stays its text).
                if (names[order[i]] == names[order[i + 1]]) {
                    steps[i] = 0;
                    continue;
                }
                at ^= 1;
                const QStringView next = buffers[at].Of(names[order[i + 1]]);
                const int result = collator.compare(current, next);
                steps[i] = static_cast<int8_t>(result < 0 ? -1 : (result > 0 ? 1 : 0));
                current = next;
            }
            return true;
        },
        [&](size_t part, bool&&) {
            if (progress)
                progress(static_cast<double>(part + 1) / static_cast<double>(parts));
        });
    return steps;
}

bool NameCollator::InOrder(const std::vector<uint32_t>& order, const std::vector<int8_t>& steps) {
    for (size_t i = 0; i < steps.size(); ++i)
        if (steps[i] > 0 || (steps[i] == 0 && order[i] > order[i + 1]))
            return false;
    return true;
}

void NameCollator::PutInOrder(const std::vector<std::string_view>& names,
                              std::vector<uint32_t>& order,
                              const std::vector<int8_t>& steps) const {
    // Before: the collator's order, equal names by their given position.
    const auto less = [&](uint32_t a, uint32_t b) {
        const int result = Compare(names[a], names[b]);
        return result < 0 || (result == 0 && a < b);
    };
    // Names are kept while each follows the last one kept; a name that comes before it is taken
    // out together with that one, since either may be the one out of place. Neighbours in the
    // given order were compared already.
    std::vector<uint32_t> kept, misplaced;
    kept.reserve(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const uint32_t name = order[i];
        bool follows = kept.empty();
        if (!follows && i > 0 && kept.back() == order[i - 1])
            follows = steps[i - 1] < 0 || (steps[i - 1] == 0 && order[i - 1] < name);
        else if (!follows)
            follows = less(kept.back(), name);
        if (follows) {
            kept.push_back(name);
        } else {
            misplaced.push_back(kept.back());
            kept.pop_back();
            misplaced.push_back(name);
        }
    }
    if (misplaced.size() > order.size() / 8) { // a sketch far off this locale: sort them all
        order = std::move(kept);
        order.insert(order.end(), misplaced.begin(), misplaced.end());
        const size_t count = order.size();
        const size_t parts = count < 20000 ? 1 : WorkerCount();
        const auto bound = [&](size_t part) {
            return static_cast<std::ptrdiff_t>(count * part / parts);
        };
        ParallelInOrder<bool>(
            parts,
            [&](size_t part) {
                const QCollator own = CopyForAnotherThread();
                const auto ownLess = [&](uint32_t a, uint32_t b) {
                    const int result = own.compare(Utf8(names[a]), Utf8(names[b]));
                    return result < 0 || (result == 0 && a < b);
                };
                std::sort(order.begin() + bound(part), order.begin() + bound(part + 1), ownLess);
                return true;
            },
            [](size_t, bool&&) {});
        for (size_t part = 1; part < parts; ++part)
            std::inplace_merge(order.begin(), order.begin() + bound(part),
                               order.begin() + bound(part + 1), less);
        return;
    }
    std::sort(misplaced.begin(), misplaced.end(), less);
    order.clear();
    auto from = kept.begin();
    for (uint32_t name : misplaced) {
        const auto to = std::lower_bound(from, kept.end(), name, less);
        order.insert(order.end(), from, to);
        order.push_back(name);
        from = to;
    }
    order.insert(order.end(), from, kept.end());
}

} // namespace vyp
