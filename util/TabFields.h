// Texts of fields parted by TAB (list lines, packed records) taken apart in one pass: sixteen
// bytes are compared at a time and the TABs taken from the mask, instead of a library call for
// every field, which costs more than the search itself on fields of a few bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace vyp {

// Puts the first `most` fields of text into fields: field i runs from after the i-th TAB to the
// next TAB or to the text's end. Returns how many fields were put (at most `most`, at least 1);
// the last one put ends at a TAB when the text has more fields.
size_t SplitAtTabs(std::string_view text, std::string_view* fields, size_t most);

// Puts text's fields into fields[0..count) from its end: the last field after the last TAB, the
// one before it between the two last TABs, and so on; the first field takes whatever is before
// the (count - 1)-th TAB from the end (when text has fewer TABs, the fields that found none are
// empty). The fields SplitAtTabs gives for a text of exactly count - 1 TABs, quicker where the
// last fields are short, as a packed search row's size, date and time.
void SplitAtLastTabs(std::string_view text, std::string_view* fields, size_t count);

} // namespace vyp
