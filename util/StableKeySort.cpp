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
constexpr size_t kFewWordsBuffered = size_t{1} << 16; // sorted through a buffer in the cache

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
// order. A pass in which every item has the same digit moves nothing. keyOf(item) gives the key,
// by default KeyOf.
template <typename Keyed, typename Key>
void SortByDigits(std::vector<Keyed>& items, unsigned bits, const Key& keyOf) {
    const size_t count = items.size();
    const unsigned passes = (bits + kMostDigitBits - 1) / kMostDigitBits;
    const unsigned width = (bits + passes - 1) / passes;
    const size_t buckets = size_t{1} << width;
    const size_t parts = PartsFor(count);
    std::vector<Keyed> moved(count);
    std::vector<std::vector<size_t>> next(parts, std::vector<size_t>(buckets));
    for (unsigned pass = 0; pass < passes; ++pass) {
        const unsigned shift = pass * width;
        const auto digit = [&keyOf, shift, mask = buckets - 1](const Keyed& item) {
            return static_cast<size_t>(keyOf(item) >> shift) & mask;
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
template <typename Keyed> void SortByDigits(std::vector<Keyed>& items, unsigned bits) {
    SortByDigits(items, bits, [](const Keyed& item) { return KeyOf(item); });
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

// The stable sort of words by their bits [lowest, lowest + bits), a digit a pass, through a
// buffer as large as they are: for a few thousand words at a time.
void SortByLowDigits(uint64_t* words, size_t count, unsigned lowest, unsigned bits,
                     std::vector<uint64_t>& buffer, std::vector<uint32_t>& next) {
    if (count < 2 || bits == 0)
        return;
    if (count < 64) {
        const uint64_t mask = (bits >= 64 ? UINT64_MAX : (uint64_t{1} << bits) - 1) << lowest;
        std::stable_sort(words, words + count,
                         [mask](uint64_t a, uint64_t b) { return (a & mask) < (b & mask); });
        return;
    }
    const unsigned passes = (bits + kMostDigitBits - 1) / kMostDigitBits;
    const unsigned width = (bits + passes - 1) / passes;
    const size_t buckets = size_t{1} << width;
    buffer.resize(std::max(buffer.size(), count));
    next.resize(buckets);
    uint64_t* from = words;
    uint64_t* to = buffer.data();
    for (unsigned pass = 0; pass < passes; ++pass) {
        const unsigned shift = lowest + pass * width;
        const uint64_t mask = buckets - 1;
        std::fill(next.begin(), next.end(), 0);
        for (size_t i = 0; i < count; ++i)
            ++next[(from[i] >> shift) & mask];
        uint32_t at = 0;
        for (uint32_t& place : next)
            at += std::exchange(place, at);
        for (size_t i = 0; i < count; ++i)
            to[next[(from[i] >> shift) & mask]++] = from[i];
        std::swap(from, to);
    }
    if (from != words)
        std::copy(from, from + count, words);
}

// Puts items[0 .. count) in the order of their ranks rankOf(item) of `bits` bits, stably: the
// highest digit places each item among those of its digit, and the items of one digit, a few
// thousand, are sorted by the digits below apart from the others, packed with their ranks. Four
// bytes an item are held beside them, not the eight of a rank packed with each nor a second
// buffer of those.
template <typename RankOf>
void SortByHighDigitFirst(uint32_t* items, size_t count, const RankOf& rankOf, unsigned bits) {
    const unsigned highBits = std::min(bits, kMostDigitBits);
    const unsigned shift = bits - highBits;
    const size_t buckets = size_t{1} << highBits;
    const size_t parts = PartsFor(count);
    std::vector<std::vector<size_t>> next(parts, std::vector<size_t>(buckets));
    InParts(count, parts, [&](size_t part, size_t begin, size_t end) {
        std::vector<size_t>& counted = next[part];
        for (size_t i = begin; i < end; ++i)
            ++counted[rankOf(items[i]) >> shift];
    });
    // Where each digit's items begin; each part's items after those of the parts before it.
    std::vector<size_t> starts(buckets + 1);
    size_t at = 0;
    for (size_t bucket = 0; bucket < buckets; ++bucket) {
        starts[bucket] = at;
        for (size_t part = 0; part < parts; ++part)
            at += std::exchange(next[part][bucket], at);
    }
    starts[buckets] = at;
    std::vector<uint32_t> placed(count);
    InParts(count, parts, [&](size_t part, size_t begin, size_t end) {
        std::vector<size_t>& to = next[part];
        for (size_t i = begin; i < end; ++i)
            placed[to[rankOf(items[i]) >> shift]++] = items[i];
    });
    next.clear();
    // Each part sorts the digits whose items begin in its share and puts them back in items.
    InParts(count, parts, [&](size_t, size_t begin, size_t end) {
        std::vector<uint64_t> words, buffer;
        std::vector<uint32_t> counters;
        const size_t first = static_cast<size_t>(
            std::lower_bound(starts.begin(), starts.end() - 1, begin) - starts.begin());
        for (size_t bucket = first; bucket < buckets && starts[bucket] < end; ++bucket) {
            const size_t from = starts[bucket], size = starts[bucket + 1] - from;
            if (shift == 0 || size < 2) {
                std::copy_n(placed.begin() + static_cast<ptrdiff_t>(from), size, items + from);
                continue;
            }
            words.resize(size);
            for (size_t i = 0; i < size; ++i) {
                const uint32_t item = placed[from + i];
                words[i] = uint64_t{rankOf(item)} << 32 | item;
            }
            SortByLowDigits(words.data(), size, 32, shift, buffer, counters);
            for (size_t i = 0; i < size; ++i)
                items[from + i] = NumberOf(words[i]);
        }
    });
}

// Puts words in the order of their digit of `width` bits at `shift` in place, each word swapped
// straight to the place of its digit; where each digit's words begin, the count last.
std::vector<size_t> SplitByDigit(uint64_t* words, size_t count, unsigned shift, unsigned width) {
    const size_t buckets = size_t{1} << width;
    const auto digit = [shift, mask = buckets - 1](uint64_t word) {
        return static_cast<size_t>(word >> shift) & mask;
    };
    std::vector<size_t> heads(buckets + 1), tails(buckets);
    for (size_t i = 0; i < count; ++i)
        ++heads[digit(words[i])];
    size_t at = 0;
    for (size_t bucket = 0; bucket < buckets; ++bucket) {
        at += std::exchange(heads[bucket], at);
        tails[bucket] = at;
    }
    heads[buckets] = count;
    std::vector<size_t> starts = heads;
    for (size_t bucket = 0; bucket < buckets; ++bucket) {
        while (heads[bucket] < tails[bucket]) {
            uint64_t word = words[heads[bucket]];
            for (size_t to = digit(word); to != bucket; to = digit(word))
                std::swap(word, words[heads[to]++]);
            words[heads[bucket]++] = word;
        }
    }
    return starts;
}

// Sorts words that are all different by their lowest `bits` bits (those above are the same in
// all of them), in place, the highest digit first: no buffer as large as they are, which a
// stable sort would need and different words do not.
void SortDifferentWordsInPlace(uint64_t* words, size_t count, unsigned bits,
                               std::vector<uint64_t>& buffer, std::vector<uint32_t>& counters) {
    if (count < 2 || bits == 0)
        return;
    if (count <= kFewWordsBuffered) {
        SortByLowDigits(words, count, 0, bits, buffer, counters);
        return;
    }
    const unsigned width = std::min(bits, kMostDigitBits);
    const std::vector<size_t> starts = SplitByDigit(words, count, bits - width, width);
    for (size_t bucket = 0; bucket + 1 < starts.size(); ++bucket)
        SortDifferentWordsInPlace(words + starts[bucket], starts[bucket + 1] - starts[bucket],
                                  bits - width, buffer, counters);
}

// SortDifferentWordsInPlace of many words: after the highest digit, the words of each digit are
// sorted side by side, each part taking the digits whose words begin in its share.
void SortInPlace(std::vector<uint64_t>& words, unsigned bits) {
    const size_t count = words.size();
    const size_t parts = PartsFor(count);
    if (parts == 1 || bits <= kMostDigitBits || count <= kFewWordsBuffered) {
        std::vector<uint64_t> buffer;
        std::vector<uint32_t> counters;
        SortDifferentWordsInPlace(words.data(), count, bits, buffer, counters);
        return;
    }
    const unsigned shift = bits - kMostDigitBits;
    const std::vector<size_t> starts = SplitByDigit(words.data(), count, shift, kMostDigitBits);
    InParts(count, parts, [&](size_t, size_t begin, size_t end) {
        std::vector<uint64_t> buffer;
        std::vector<uint32_t> counters;
        auto bucket = static_cast<size_t>(
            std::lower_bound(starts.begin(), starts.end() - 1, begin) - starts.begin());
        for (; bucket + 1 < starts.size() && starts[bucket] < end; ++bucket)
            SortDifferentWordsInPlace(words.data() + starts[bucket],
                                      starts[bucket + 1] - starts[bucket], shift, buffer, counters);
    });
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
    const auto top = static_cast<uint32_t>(ranks.size() - 1);
    const auto rankOf = [&ranks, top, descending](uint32_t item) {
        const uint32_t rank = ranks[item];
        return descending ? top - rank : rank;
    };
    if (count >= kFewItems) {
        SortByHighDigitFirst(items, count, rankOf, static_cast<unsigned>(std::bit_width(top)));
        return true;
    }
    std::vector<uint64_t> packed(count);
    for (size_t i = 0; i < count; ++i)
        packed[i] = uint64_t{rankOf(items[i])} << 32 | items[i];
    std::stable_sort(packed.begin(), packed.end(),
                     [](uint64_t a, uint64_t b) { return a >> 32 < b >> 32; });
    for (size_t i = 0; i < count; ++i)
        items[i] = NumberOf(packed[i]);
    return true;
}

std::vector<uint32_t> RanksOfKeys(std::vector<uint64_t> keys) {
    // Where the keys' range and the numbers of the items fit in one word together (sizes of up to
    // a few terabytes, tens of millions of rows), they are sorted as those words, in place: no
    // 16-byte items and an order beside them.
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
            // Packed where the keys are: no second copy of them for the passes' two buffers.
            InParts(count, parts, [&](size_t, size_t begin, size_t end) {
                for (size_t i = begin; i < end; ++i)
                    keys[i] = (keys[i] == 0 ? 0 : keys[i] - base) << numberBits | i;
            });
            SortInPlace(keys, numberBits + keyBits);
            const uint64_t numberMask = (uint64_t{1} << numberBits) - 1;
            std::vector<uint32_t> ranks(count);
            uint32_t rank = 0;
            for (size_t i = 0; i < count; ++i) {
                if (i > 0 && keys[i] >> numberBits != keys[i - 1] >> numberBits)
                    ++rank;
                ranks[keys[i] & numberMask] = rank;
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
