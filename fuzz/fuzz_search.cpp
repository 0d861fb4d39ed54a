// The list search against the rules it follows (ReferenceFormat.h): every line of the list, the
// header included, that holds the text (ASCII letters without regard to case) gives one row in
// file order: a folder row with the line's first field for the header and a line holding "\",
// else a file row whose path is the first field of the nearest such line above and the name.
#include "FuzzSupport.h"
#include "ReferenceFormat.h"

#include "search/ListSearch.h"

using namespace vyp;
using namespace vyp::fuzz;

namespace {

bool HoldsIgnoringCase(std::string_view line, std::string_view text) {
    for (size_t at = 0; at + text.size() <= line.size(); ++at) {
        if (ReferenceSameIgnoringCase(line.substr(at, text.size()), text))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFile file("Hledání.sez");
    InputTaker input(data, size);
    const std::string_view searched = input.Text();
    const std::string_view bytes = input.Rest();
    file.Write(bytes);

    ListRegistry registry;
    rsznListInfo info;
    info.FileName = "Hledání.sez";
    info.FullPath = file.Path();
    info.Group = 2 + static_cast<int>(searched.size() % 7);
    registry.ListPaths.push_back(info.FullPath);
    registry.ListInfos.push_back(info);
    GroupFilter groups;
    groups.fill(true);
    const SearchResult result = SearchLists(searched, groups, registry);
    FUZZ_CHECK(result.errors.empty());
    groups[static_cast<size_t>(info.Group - 2)] = false; // the list's group not ticked
    FUZZ_CHECK(SearchLists(searched, groups, registry).rows.empty());

    // Every line is searched in the file's encoding: in the text it reads as, the search text
    // matches where it would match the bytes.
    if (!ReferenceIsUtf8(searched))
        return 0;
    const std::string text = ReferenceText(bytes);
    const bool fits = ReferenceIsUtf8(bytes) || ReferenceUtf8ToWindows1250(searched).has_value();
    size_t row = 0;
    int32_t files = 0, folders = 0;
    std::string_view folderPrefix;
    const std::vector<std::string_view> lines = ReferenceLines(text);
    for (size_t l = 0; l < lines.size(); ++l) {
        const std::string_view line = lines[l];
        const bool isFolder = l == 0 || line.find('\\') != std::string_view::npos;
        const std::vector<std::string_view> fields = ReferenceFields(line);
        const auto field = [&fields](size_t f) {
            return f < fields.size() ? fields[f] : std::string_view();
        };
        if (isFolder)
            folderPrefix = field(0);
        if (searched.empty() || !fits || !HoldsIgnoringCase(line, searched))
            continue;
        FUZZ_CHECK(row < result.rows.size());
        const SearchRow found = result.rows[row++];
        FUZZ_CHECK(found.ListIndex() == 0);
        FUZZ_CHECK(found.IsFolder() == isFolder);
        (isFolder ? folders : files) += 1;
        const std::string path =
            isFolder ? std::string(field(0)) : std::string(folderPrefix) + std::string(field(0));
        FUZZ_CHECK(found.Path() == path);
        FUZZ_CHECK(found.SizeText() == field(1));
        FUZZ_CHECK(found.DateText() == field(2));
        FUZZ_CHECK(found.TimeText() == ReferenceShownTime(field(3)));
        if (!isFolder)
            FUZZ_CHECK(found.Extension() == ReferenceExtension(field(0)));
    }
    FUZZ_CHECK(row == result.rows.size());
    FUZZ_CHECK(result.filesFound == files && result.foldersFound == folders);
    return 0;
}
