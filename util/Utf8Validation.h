// Checking that bytes are valid UTF-8 at the speed of reading memory: every list is checked
// whole as it is read, to learn its encoding, so this runs over every byte of every list. With
// AVX-512 or AVX2 (checked at run time) 64 or 32 bytes are checked at a time by table lookups of
// each byte's and its predecessors' high and low halves; elsewhere a plain check does the same
// work.
#pragma once

#include <string_view>

namespace vyp {

// True when bytes form valid UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF, no
// sequence cut short by the end).
bool IsValidUtf8Fast(std::string_view bytes);
// The plain check, byte by byte after skipping ASCII; the reference for the fast one.
bool IsValidUtf8Plain(std::string_view bytes);

// The fast checks by the instructions they use: IsValidUtf8Fast takes the quickest one the
// processor has. Named for the tests, which run each of them.
enum class Utf8FastCheck { Avx2, Avx512 };
// Whether this build and processor can run check.
bool CanRunUtf8Check(Utf8FastCheck check);
// Checks bytes by check, which CanRunUtf8Check must allow.
bool IsValidUtf8With(Utf8FastCheck check, std::string_view bytes);

} // namespace vyp
