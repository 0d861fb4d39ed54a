#include "util/StableKeySort.h"

#include "platform/ParallelInOrder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <utility>

namespace vyp {

namespace {

constexpr size_t kFewItems = size_t{1} << 12;  // fewer are sorted by comparing
constexpr size_t kPartItems = size_t{1} << 17; // fewer per core are not worth a thread
constexpr unsigned kMostDigitBits = 11;        // 2048 counters a pass stay in the first cache

// An item with a key of up to 32 bits: the key above, the item's number below.
uint64_t KeyOf(uint64_t packed) {
    return packed >> 32;
}
uint32_t NumberOf(uint64_t packed) {
    return static_cast<uint32_t>(packed);
}
// An item with a wider key.
struct Wide {
    uint64_t key;
    uint32_t item;
};
uint64_t KeyOf(const Wide& wide) {
    return wide.key;
}
uint32_t NumberOf(const Wide& wide) {
    return wide.item;
}

// An item whose key and number are packed in one word, the number in the bits below: sorting
// by the whole word sorts by the key, equal keys by their number.
struct Whole {
    uint64_t word;
};
uint64_t KeyOf(const Whole& whole) {
    return whole.word;
}

size_t PartsFor(size_t count) {
    return count < 2 * kPartItems ? 1 : WorkerCount();
}

// Runs work(part, begin, end) on parts of [0, count) side by side.
template <typename Work> void InParts(size_t count, size_t parts, const Work& work) {
    ParallelInOrder<bool>(
        parts,
        [&](size_t part) {
            work(part, count * part / parts, count * (part + 1) / parts);
            return true;
        },
        [](size_t, bool&&) {});
}

// The stable sort of items by KeyOf, a digit of the key a pass from the lowest up, each part's
// items of a digit placed after those of the parts before it, so that equal keys keep their
// order. A pass in which every item has the same digit moves nothing.
template <typename Keyed> void SortByDigits(std::vector<Keyed>& items, unsigned bits) {
    const size_t count = items.size();
    const unsigned passes = (bits + kMostDigitBits - 1) / kMostDigitBits;
    const unsigned width = (bits + passes - 1) / passes;
    const size_t buckets = size_t{1} << width;
    const size_t parts = PartsFor(count);
    std::vector<Keyed> moved(count);
    std::vector<std::vector<size_t>> next(parts, std::vector<size_t>(buckets));
    for (unsigned pass = 0; pass < passes; ++pass) {
        const unsigned shift = pass * width;
        const auto digit = [shift, mask = buckets - 1](const Keyed& item) {
            return static_cast<size_t>(KeyOf(item) >> shift) & mask;
        };
        InParts(count, parts, [&](size_t part, size_t begin, size_t end) {
            std::vector<size_t>& counted = next[part];
            std::fill(counted.begin(), counted.end(), 0);
            for (size_t i = begin; i < end; ++i)
                ++counted[digit(items[i])];
        });
        bool oneDigit = false;
        size_t at = 0;
        for (size_t bucket = 0; bucket < buckets; ++bucket) {
            const size_t before = at;
            for (size_t part = 0; part < parts; ++part)
                at += std::exchange(next[part][bucket], at);
            oneDigit = oneDigit || at - before == count;
        }
        if (!oneDigit) {
            InParts(count, parts, [&](size_t part, size_t begin, size_t end) {
                std::vector<size_t>& to = next[part];
                for (size_t i = begin; i < end; ++i)
                    moved[to[digit(items[i])]++] = items[i];
            });
            items.swap(moved);
        }
    }
}

// StableSortByKeys by the key keyOf(item) gives.
template <typename Item, typename KeyOf>
void SortByKeyOf(Item* items, size_t count, const KeyOf& keyOf, bool descending) {
    if (count < kFewItems) {
        // Descending swaps the arguments, so that equal keys keep their order.
        if (descending)
            std::stable_sort(items, items + count,
                             [&](Item a, Item b) { return keyOf(b) < keyOf(a); });
        else
            std::stable_sort(items, items + count,
                             [&](Item a, Item b) { return keyOf(a) < keyOf(b); });
        return;
    }
    const size_t parts = PartsFor(count);
    std::vector<std::pair<uint64_t, uint64_t>> bounds(parts);
    InParts(count, parts, [&](size_t part, size_t begin, size_t end) {
        uint64_t low = UINT64_MAX, high = 0;
        for (size_t i = begin; i < end; ++i) {
            low = std::min(low, keyOf(items[i]));
            high = std::max(high, keyOf(items[i]));
        }
        bounds[part] = {low, high};
    });
    uint64_t low = UINT64_MAX, high = 0;
    for (const auto& [partLow, partHigh] : bounds) {
        low = std::min(low, partLow);
        high = std::max(high, partHigh);
    }
    if (low == high)
        return; // all keys equal: the order stays
    // Keys from 0 up in the order wanted: descending turns them over, equal keys staying equal.
    const auto rankOf = [&](Item item) {
        return descending ? high - keyOf(item) : keyOf(item) - low;
    };
    const auto bits = static_cast<unsigned>(std::bit_width(high - low));
    if (bits <= 32) {
        std::vector<uint64_t> packed(count);
        InParts(count, parts, [&](size_t, size_t begin, size_t end) {
            for (size_t i = begin; i < end; ++i)
                packed[i] = rankOf(items[i]) << 32 | static_cast<uint32_t>(items[i]);
        });
        SortByDigits(packed, bits);
        InParts(count, parts, [&](size_t, size_t begin, size_t end) {
            for (size_t i = begin; i < end; ++i)
                items[i] = static_cast<Item>(NumberOf(packed[i]));
        });
    } else {
        std::vector<Wide> wide(count);
        InParts(count, parts, [&](size_t, size_t begin, size_t end) {
            for (size_t i = begin; i < end; ++i)
                wide[i] = {rankOf(items[i]), static_cast<uint32_t>(items[i])};
        });
        SortByDigits(wide, bits);
        InParts(count, parts, [&](size_t, size_t begin, size_t end) {
            for (size_t i = begin; i < end; ++i)
                items[i] = static_cast<Item>(NumberOf(wide[i]));
        });
    }
}

} // namespace

template <typename Item>
void StableSortByKeys(Item* items, size_t count, const std::vector<uint64_t>& keys,
                      bool descending) {
    SortByKeyOf(
        items, count, [&keys](Item item) { return keys[static_cast<size_t>(item)]; }, descending);
}

bool StableSortByRanks(uint32_t* items, size_t count, const std::vector<uint32_t>& ranks,
                       bool descending) {
    // Whether the items are in either order already; for items in no order (another column
    // sorted last) that is seen after a few.
    bool up = true, down = true; // not falling, not rising
    for (size_t i = 1; i < count && (up || down); ++i) {
        const uint32_t before = ranks[items[i - 1]], rank = ranks[items[i]];
        up = up && before <= rank;
        down = down && rank <= before;
    }
    if (descending)
        std::swap(up, down);
    if (up)
        return false;
    if (down) {
        // The other direction of a column sorted last: every run of equal ranks moves as a whole
        // to the mirrored place and keeps its own order.
        std::reverse(items, items + count);
        for (size_t begin = 0; begin < count;) {
            size_t end = begin + 1;
            while (end < count && ranks[items[end]] == ranks[items[begin]])
                ++end;
            std::reverse(items + begin, items + end);
            begin = end;
        }
        return true;
    }
    // Each rank is read once, into the item it goes with: the items are in the order shown, so
    // their ranks lie all over memory.
    const auto top = static_cast<uint32_t>(ranks.size() - 1);
    std::vector<uint64_t> packed(count);
    const size_t parts = PartsFor(count);
    InParts(count, parts, [&](size_t, size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            const uint32_t rank = ranks[items[i]];
            packed[i] = uint64_t{descending ? top - rank : rank} << 32 | items[i];
        }
    });
    if (count < kFewItems)
        std::stable_sort(packed.begin(), packed.end(),
                         [](uint64_t a, uint64_t b) { return a >> 32 < b >> 32; });
    else
        SortByDigits(packed, static_cast<unsigned>(std::bit_width(top)));
    InParts(count, parts, [&](size_t, size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i)
            items[i] = NumberOf(packed[i]);
    });
    return true;
}

std::vector<uint32_t> RanksOfKeys(const std::vector<uint64_t>& keys) {
    // Where the keys' range and the numbers of the items fit in one word together (sizes of up to
    // a few terabytes, tens of millions of rows), 8 bytes an item for the digits' passes instead
    // of 16 and an order beside them.
    const size_t count = keys.size();
    if (count >= kFewItems && count <= UINT32_MAX) {
        const size_t parts = PartsFor(count);
        // The lowest key above 0 too: 0 (a row without a number) is kept apart, below it.
        std::vector<std::array<uint64_t, 3>> bounds(parts);
        InParts(count, parts, [&](size_t part, size_t begin, size_t end) {
            uint64_t high = 0, lowest = UINT64_MAX;
            bool zero = false;
            for (size_t i = begin; i < end; ++i) {
                high = std::max(high, keys[i]);
                zero = zero || keys[i] == 0;
                if (keys[i] != 0)
                    lowest = std::min(lowest, keys[i]);
            }
            bounds[part] = {high, lowest, zero ? 1u : 0u};
        });
        uint64_t high = 0, lowest = UINT64_MAX;
        bool zero = false;
        for (const auto& [partHigh, partLowest, partZero] : bounds) {
            high = std::max(high, partHigh);
            lowest = std::min(lowest, partLowest);
            zero = zero || partZero != 0;
        }
        // Keys from 0 up: 0 itself, then the others from 1 (from 0 when none is 0).
        const uint64_t base = lowest == UINT64_MAX ? 0 : lowest - (zero ? 1 : 0);
        const auto numberBits = static_cast<unsigned>(std::bit_width(count - 1));
        const auto keyBits = static_cast<unsigned>(std::bit_width(high - base));
        if (numberBits + keyBits <= 64) {
            std::vector<Whole> packed(count);
            InParts(count, parts, [&](size_t, size_t begin, size_t end) {
                for (size_t i = begin; i < end; ++i)
                    packed[i].word = (keys[i] == 0 ? 0 : keys[i] - base) << numberBits | i;
            });
            SortByDigits(packed, numberBits + keyBits);
            const uint64_t numberMask = (uint64_t{1} << numberBits) - 1;
            std::vector<uint32_t> ranks(count);
            uint32_t rank = 0;
            for (size_t i = 0; i < count; ++i) {
                if (i > 0 && packed[i].word >> numberBits != packed[i - 1].word >> numberBits)
                    ++rank;
                ranks[packed[i].word & numberMask] = rank;
            }
            return ranks;
        }
    }
    std::vector<uint32_t> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<uint32_t>(i);
    StableSortByKeys(order.data(), order.size(), keys, false);
    std::vector<uint32_t> ranks(keys.size());
    uint32_t rank = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && keys[order[i]] != keys[order[i - 1]])
            ++rank;
        ranks[order[i]] = rank;
    }
    return ranks;
}

template void StableSortByKeys(int32_t*, size_t, const std::vector<uint64_t>&, bool);
template void StableSortByKeys(uint32_t*, size_t, const std::vector<uint64_t>&, bool);

} // namespace vyp
