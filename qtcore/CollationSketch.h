// A quick stand-in for the locale's collation, for putting a million names nearly in order
// before the collator itself checks that order. Every character that occurs in the names is
// placed among the others once, by the collator; two names then compare by those places, first
// by letter alone (as the collator's first level, where case and accents do not count), then
// with case and accents; characters the collator ignores (a soft hyphen) are passed over. Letter
// pairs the locale treats as one letter (Czech "ch") and letters that count as two ("ß") are not
// modelled: NameCollator::Ranks corrects whatever the sketch gets wrong, so the sketch only
// decides how much correcting there is.
#pragma once

#include "qtcore/FolderedPaths.h"

#include <QCollator>

#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace vyp {

class CollationSketch {
public:
    CollationSketch(const QCollator& collator, const std::vector<std::string_view>& names);
    // For the characters of the folders and names of paths.
    CollationSketch(const QCollator& collator, const FolderedPaths& paths);
    // For the characters of names, read on this thread alone: for blocks of names that workers
    // sort side by side.
    CollationSketch(const QCollator& collator, const PackedNames& names);

    // < 0, 0 or > 0 as a comes before, with or after b, by the characters' places.
    int Compare(std::string_view a, std::string_view b) const;
    // Whether a and b differ at most in case and accents, by the characters' places.
    bool SameLetters(std::string_view a, std::string_view b) const;
    // The positions of names in the sketch's order. progress, when given, hears on this thread
    // how much of the work is done (0 to 1) a few dozen times.
    std::vector<uint32_t> Order(const std::vector<std::string_view>& names,
                                const std::function<void(double done)>& progress = {}) const;
    // The rows of paths in the sketch's order, as Order gives it for their whole paths: each
    // distinct folder text is a folder of the tree once, and its entries compare by their names.
    std::vector<uint32_t> Order(const FolderedPaths& paths,
                                const std::function<void(double done)>& progress = {}) const;

private:
    // Places each of characters (in code point order) among the others by the collator.
    void PlaceCharacters(const QCollator& collator, const std::vector<char32_t>& characters);
    // From 1; 0 for characters the collation ignores.
    struct Place {
        uint32_t letter = 0; // the same for characters that differ only in case or accents
        uint32_t exact = 0;  // the same only for characters the collator finds equal
    };
    const Place& PlaceOf(char32_t character) const;
    // The place of the next character from at that the collation does not ignore, at past it; 0
    // when none is left.
    template <uint32_t Place::*Level> uint32_t NextCounted(std::string_view text, size_t& at) const;
    template <uint32_t Place::*Level>
    int CompareFrom(std::string_view a, std::string_view b, size_t start) const;

    std::vector<Place> m_basic;                              // by code point, below U+10000
    std::vector<std::pair<char32_t, Place>> m_supplementary; // sorted by code point
};

} // namespace vyp
