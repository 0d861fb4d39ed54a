#include "qtcore/NameCollator.h"

#include "platform/ParallelInOrder.h"
#include "qtcore/CollationSketch.h"
#include "qtcore/Utf16Name.h"
#include "qtcore/Utf8.h"

#include <QString>

#include <algorithm>
#include <numeric>

namespace vyp {

namespace {

// The last two texts decoded, each kept while the next is compared with it: a walk along
// neighbours decodes each text once.
class DecodedPair {
public:
    template <typename Decode> QStringView Of(uint64_t key, const Decode& decode) {
        if (key == m_keys[m_at])
            return m_views[m_at];
        m_at ^= 1;
        m_keys[m_at] = key;
        m_views[m_at] = decode(m_buffers[m_at]);
        return m_views[m_at];
    }

private:
    Utf16Name m_buffers[2];
    QStringView m_views[2];
    uint64_t m_keys[2] = {UINT64_MAX, UINT64_MAX};
    int m_at = 0;
};

int Sign(int result) {
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

// The texts ranked, as NameCollator's templates ask for them: Text gives the whole UTF-8 text
// of an item (built in buffer when need be), Step the collator's order of two of them.
class WholeTexts {
public:
    explicit WholeTexts(const std::vector<std::string_view>& names) : m_names(names) {}
    size_t size() const { return m_names.size(); }
    std::string_view Text(uint32_t i, std::string&) const { return m_names[i]; }
    int Step(const QCollator& collator, uint32_t a, uint32_t b, DecodedPair& decoded) const {
        // The same path in two lists: equal without asking.
        if (m_names[a] == m_names[b])
            return 0;
        const QStringView x = decoded.Of(a, [&](Utf16Name& to) { return to.Of(m_names[a]); });
        const QStringView y = decoded.Of(b, [&](Utf16Name& to) { return to.Of(m_names[b]); });
        return Sign(collator.compare(x, y));
    }

private:
    const std::vector<std::string_view>& m_names;
};

class FolderedTexts {
public:
    explicit FolderedTexts(const FolderedPaths& paths) : m_paths(paths) {}
    size_t size() const { return m_paths.size(); }
    std::string_view Text(uint32_t i, std::string& buffer) const { return m_paths.Path(i, buffer); }
    int Step(const QCollator& collator, uint32_t a, uint32_t b, DecodedPair& decoded) const {
        const std::string_view folderA = m_paths.Folder(a), folderB = m_paths.Folder(b);
        const std::string_view nameA = m_paths.names[a], nameB = m_paths.names[b];
        // Rows of one folder differ only after the folder's text they share, which does not
        // change the collator's order of the rest: their names alone are compared. Keys: an
        // item's name twice the item, its whole path one more.
        if (folderA == folderB) {
            if (nameA == nameB)
                return 0;
            const QStringView x =
                decoded.Of(uint64_t{a} * 2, [&](Utf16Name& to) { return to.Of(nameA); });
            const QStringView y =
                decoded.Of(uint64_t{b} * 2, [&](Utf16Name& to) { return to.Of(nameB); });
            return Sign(collator.compare(x, y));
        }
        const QStringView x =
            decoded.Of(uint64_t{a} * 2 + 1, [&](Utf16Name& to) { return to.Of(folderA, nameA); });
        const QStringView y =
            decoded.Of(uint64_t{b} * 2 + 1, [&](Utf16Name& to) { return to.Of(folderB, nameB); });
        return Sign(collator.compare(x, y));
    }

private:
    const FolderedPaths& m_paths;
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
    const CollationSketch sketch(m_collator, names);
    std::vector<uint32_t> order = sketch.Order(names, [&progress](double done) {
        if (progress)
            progress(0.05 + 0.45 * done);
    });
    return RanksFrom(WholeTexts(names), std::move(order), progress);
}

std::vector<uint32_t> NameCollator::Ranks(const FolderedPaths& paths,
                                          const std::function<void(double)>& progress) const {
    const CollationSketch sketch(m_collator, paths);
    std::vector<uint32_t> order = sketch.Order(paths, [&progress](double done) {
        if (progress)
            progress(0.05 + 0.45 * done);
    });
    return RanksFrom(FolderedTexts(paths), std::move(order), progress);
}

template <typename Texts>
std::vector<uint32_t> NameCollator::RanksFrom(const Texts& texts, std::vector<uint32_t> order,
                                              const std::function<void(double)>& progress) const {
    std::vector<int8_t> steps = NeighbourOrder(texts, order, [&progress](double done) {
        if (progress)
            progress(0.5 + 0.45 * done);
    });
    if (!InOrder(order, steps)) {
        PutInOrder(texts, order, steps);
        steps = NeighbourOrder(texts, order, {});
    }
    if (progress)
        progress(1);
    std::vector<uint32_t> ranks(texts.size());
    uint32_t rank = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && steps[i - 1] != 0)
            ++rank;
        ranks[order[i]] = rank;
    }
    return ranks;
}

template <typename Texts>
std::vector<int8_t>
NameCollator::NeighbourOrder(const Texts& texts, const std::vector<uint32_t>& order,
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
            DecodedPair decoded;
            for (size_t i = first; i < last; ++i)
                steps[i] =
                    static_cast<int8_t>(texts.Step(collator, order[i], order[i + 1], decoded));
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

template <typename Texts>
void NameCollator::PutInOrder(const Texts& texts, std::vector<uint32_t>& order,
                              const std::vector<int8_t>& steps) const {
    // Before: the collator's order, equal names by their given position.
    std::string bufferA, bufferB;
    const auto less = [&](uint32_t a, uint32_t b) {
        const int result = Compare(texts.Text(a, bufferA), texts.Text(b, bufferB));
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
                std::string ownA, ownB;
                const auto ownLess = [&](uint32_t a, uint32_t b) {
                    const int result =
                        own.compare(Utf8(texts.Text(a, ownA)), Utf8(texts.Text(b, ownB)));
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
