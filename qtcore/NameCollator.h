// Orders names as the user's locale does, with letter case counting, for the sorts of the
// tables and of the command-line companion. Many names are ranked once (see Ranks), so sorting
// a hundred thousand rows compares numbers, not strings.
#pragma once

#include "qtcore/FolderedPaths.h"

#include <QCollator>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace vyp {

class NameCollator {
public:
    explicit NameCollator(const QLocale& locale = QLocale::system());

    int Compare(std::string_view a, std::string_view b) const;

    // The positions 0..names.size()-1 in the locale's order of names, equal names in their given
    // order.
    std::vector<size_t> StableOrder(const std::vector<std::string_view>& names) const;
    // The place of each name in the locale's order, names that compare equal sharing one: a
    // table sorts by these numbers as often as it likes after paying for the collation once.
    // progress, when given, hears on this thread how much of the work is done (0 to 1), often
    // enough for a bar to move on while a million names are ranked.
    std::vector<uint32_t> Ranks(const std::vector<std::string_view>& names,
                                const std::function<void(double done)>& progress = {}) const;

    // The same as Ranks of the rows' whole paths, for paths given by folder and name: each
    // folder's text is read once, and rows of one folder are compared by their names alone.
    std::vector<uint32_t> Ranks(const FolderedPaths& paths,
                                const std::function<void(double done)>& progress = {}) const;

    // A collator of the same settings, for another thread: one collator is not to be used by two
    // threads at once.
    QCollator CopyForAnotherThread() const;

private:
    // The ranks of the texts (see the classes Texts in the source) from the sketch's order.
    template <typename Texts>
    std::vector<uint32_t> RanksFrom(const Texts& texts, std::vector<uint32_t> order,
                                    const std::function<void(double done)>& progress) const;
    // The collator's order of each neighbouring pair in order: -1, 0 or 1.
    template <typename Texts>
    std::vector<int8_t> NeighbourOrder(const Texts& texts, const std::vector<uint32_t>& order,
                                       const std::function<void(double done)>& progress) const;
    // Whether the neighbours are in the collator's order, equal names by their given position.
    static bool InOrder(const std::vector<uint32_t>& order, const std::vector<int8_t>& steps);
    // Puts an order that is nearly right into the collator's order.
    template <typename Texts>
    void PutInOrder(const Texts& texts, std::vector<uint32_t>& order,
                    const std::vector<int8_t>& steps) const;

    QCollator m_collator;
};

} // namespace vyp
