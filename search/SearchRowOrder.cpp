#include "search/SearchRowOrder.h"

#include <algorithm>
#include <numeric>

namespace vyp {

std::vector<uint32_t> RankListNames(const std::vector<std::string>& names,
                                    const NameComparison& compare) {
    std::vector<size_t> order(names.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return compare(names[a], names[b]) < 0; });
    std::vector<uint32_t> ranks(names.size());
    uint32_t rank = 0;
    for (size_t position = 0; position < order.size(); ++position) {
        if (position > 0 && compare(names[order[position - 1]], names[order[position]]) != 0)
            ++rank;
        ranks[order[position]] = rank;
    }
    return ranks;
}

std::vector<size_t> ListsByRank(const std::vector<uint32_t>& ranks) {
    std::vector<size_t> order(ranks.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&ranks](size_t a, size_t b) { return ranks[a] < ranks[b]; });
    return order;
}

std::vector<size_t> OrderByListName(const SearchRows& rows, const std::vector<uint32_t>& ranks) {
    // A counting sort: one bucket per rank, and one more for rows without a rank.
    const size_t unranked = ranks.empty() ? 0 : *std::max_element(ranks.begin(), ranks.end()) + 1;
    auto bucketOf = [&](const SearchRow& row) {
        const auto list = static_cast<size_t>(row.ListIndex());
        return row.ListIndex() >= 0 && list < ranks.size() ? size_t{ranks[list]} : unranked;
    };
    std::vector<size_t> start(unranked + 2, 0);
    for (const SearchRow& row : rows)
        ++start[bucketOf(row) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<size_t> order(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        order[start[bucketOf(rows[i])]++] = i;
    return order;
}

} // namespace vyp
