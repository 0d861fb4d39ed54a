// A 64-bit key of a file's name and size for finding duplicates: a hash of the name's full case
// folding and of the size, taken in one pass over the name without writing the folding out
// where the name's letters allow (ASCII eight bytes at a time, characters of two bytes and
// characters of three bytes that fold to themselves from tables; short names in one register
// where the processor has AVX-512 or AVX2); other names are folded first.
// Either way the key is the one OfFolded gives for the folded name. Names that differ may share
// a key: whoever keys them compares the folded names themselves too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vyp {

class FoldedNameKey {
public:
    // Fastest folds a short name in registers where the processor can: up to 64 bytes in one
    // register with AVX-512 and its byte permutes, else up to 32 bytes in one register with
    // AVX2 and its byte shuffles, else in words of eight. Avx2 takes the AVX2 way even where
    // AVX-512 would do (in words where neither can), and Words always folds in words: the
    // reference the tests hold the others to.
    enum class FoldingWay { Fastest, Avx2, Words };
    explicit FoldedNameKey(FoldingWay way = FoldingWay::Fastest);
    // Whether this build and processor fold in one register of 64 bytes, or of 32.
    static bool CanFoldWide();
    static bool CanFoldAvx2();

    // The key of a UTF-8 name and a size; readable is how far the bytes at and after name may be
    // read (the end of the text it lies in), as eight are read at a time.
    uint64_t Of(std::string_view utf8, int64_t size, const char* readable) {
        // Empty names wrap round to the largest length and go the long way.
        if (utf8.size() - 1 < m_wideLength) {
            const WideKey key = m_wide(m_tables, utf8.data(), utf8.size(), readable, size);
            if (key.made)
                return key.key;
        }
        return OfInWords(utf8, size, readable);
    }
    uint64_t Of(std::string_view utf8, int64_t size) {
        return Of(utf8, size, utf8.data() + utf8.size());
    }

    // The key of a name already case folded.
    static uint64_t OfFolded(std::string_view folded, int64_t size);

private:
    // A key folded in one register, or none where the name asks for more (returned in
    // registers, not through memory).
    struct WideKey {
        uint64_t key;
        bool made;
    };
    using WideFolding = WideKey (*)(const void* tables, const char* name, size_t length,
                                    const char* readable, int64_t size);
    static WideKey FoldWide(const void* tables, const char* name, size_t length,
                            const char* readable, int64_t size);
    static WideKey FoldAvx2(const void* tables, const char* name, size_t length,
                            const char* readable, int64_t size);

    // Called out of line: its registers saved only for the names that need it.
    [[gnu::noinline]] uint64_t OfInWords(std::string_view utf8, int64_t size, const char* readable);
    uint64_t OfFoldedLongWay(std::string_view utf8, int64_t size);

    const void* m_tables; // the folding tables, made once for all
    WideFolding m_wide;   // short names folded in one register, where it can
    size_t m_wideLength;  // the longest name m_wide folds (0 where there is none)
    std::string m_padded; // a name near the end of its text, with room to read past it
    std::string m_folded;
};

} // namespace vyp
