// The rules of the list format and of the texts in it, written again as plainly as they can be
// stated: lines, fields, the two encodings, size texts, display names, extensions and times.
// The fuzz targets compare the program with these, so nothing here may come from the program:
// no call into it and no code taken from it, or a fault there would be a fault here too. Slow
// and obvious on purpose.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vyp::fuzz {

// The lines of bytes: a line ends at CR LF, a lone CR or a lone LF; a last line without an end
// is still a line.
std::vector<std::string_view> ReferenceLines(std::string_view bytes);

// The fields of a line, split at every TAB.
std::vector<std::string_view> ReferenceFields(std::string_view line);

// RFC 3629: every character a shortest sequence, no surrogate, nothing above U+10FFFF.
bool ReferenceIsUtf8(std::string_view bytes);
// Windows-1250 bytes as UTF-8 text; the five bytes the code page leaves undefined stand for the
// code points of their own value.
std::string ReferenceWindows1250ToUtf8(std::string_view bytes);
// UTF-8 text in Windows-1250; nothing when it is not UTF-8 or holds a character the code page
// lacks.
std::optional<std::string> ReferenceUtf8ToWindows1250(std::string_view utf8);
// How a file's bytes read: as they are when they are UTF-8, else as Windows-1250.
std::string ReferenceText(std::string_view bytes);

// Only the ASCII letters change case.
char ReferenceLower(char c);
bool ReferenceSameIgnoringCase(std::string_view a, std::string_view b);

// A size text: an optional sign and at least one decimal digit, nothing else, within the
// signed 64-bit range.
std::optional<int64_t> ReferenceSizeValue(std::string_view text);

// A first field's display name: the field itself without "\"; else the characters before its
// final one, back to the "\" before them.
std::string ReferenceDisplayName(std::string_view field1);
// The characters after the last "." of a name, none without one.
std::string ReferenceExtension(std::string_view name);
// A stored time as shown: every "." read as ":".
std::string ReferenceShownTime(std::string_view stored);

} // namespace vyp::fuzz
