// The list search against the rule it follows: every line of the list (the header included)
// that holds the text, ASCII letters without regard to case, gives one row, in file order.
#include "FuzzSupport.h"

#include "search/ListSearch.h"
#include "util/Encoding.h"

using namespace vyp;
using namespace vyp::fuzz;

namespace {

bool HoldsIgnoringAsciiCase(std::string_view line, std::string_view text) {
    for (size_t at = 0; at + text.size() <= line.size(); ++at) {
        size_t i = 0;
        while (i < text.size() && LowerAscii(line[at + i]) == LowerAscii(text[i]))
            ++i;
        if (i == text.size())
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFile file("Hledání.sez");
    InputTaker input(data, size);
    const std::string_view text = input.Text();
    const std::string_view bytes = input.Rest();
    file.Write(bytes);

    ListRegistry registry;
    rsznListInfo info;
    info.FileName = "Hledání.sez";
    info.FullPath = file.Path();
    registry.ListPaths.push_back(info.FullPath);
    registry.ListInfos.push_back(info);
    GroupFilter groups;
    groups.fill(true);
    const SearchResult result = SearchLists(text, groups, registry);
    FUZZ_CHECK(result.errors.empty());
    FUZZ_CHECK(result.filesFound + result.foldersFound == static_cast<int32_t>(result.rows.size()));

    // Compared where the file and the text need no conversion.
    if (text.empty() || !IsValidUtf8(bytes) || !IsValidUtf8(text))
        return 0;
    size_t matches = 0;
    for (const std::string_view line : ReferenceLines(bytes))
        matches += HoldsIgnoringAsciiCase(line, text) ? 1 : 0;
    FUZZ_CHECK(result.rows.size() == matches);
    for (const SearchRow& row : result.rows)
        FUZZ_CHECK(row.ListIndex() == 0);
    return 0;
}
