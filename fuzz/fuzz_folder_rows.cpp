// The files of a folder read from a list file against the reading rules: the file lines right
// after the folder's line up to the next line holding "\", their sizes summed.
#include "FuzzSupport.h"

#include "lists/FolderRows.h"
#include "lists/SizeText.h"
#include "util/Encoding.h"

using namespace vyp;
using namespace vyp::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFile file("rows.sez");
    InputTaker input(data, size);
    const uint64_t choice = input.Number(1);
    const std::string_view bytes = input.Rest();
    file.Write(bytes);
    const TextEncoding encoding = DetectEncoding(bytes);
    const std::vector<std::string_view> lines = ReferenceLines(bytes);

    // The folder asked for: the root, or the path of one of the folder lines.
    std::vector<size_t> folderLines;
    for (size_t l = 1; l < lines.size(); ++l) {
        if (lines[l].find('\\') != std::string_view::npos)
            folderLines.push_back(l);
    }
    std::string folderPath;
    size_t first = 1; // the line after the folder's own
    if (!folderLines.empty() && choice % 2 == 1) {
        const size_t line = folderLines[choice / 2 % folderLines.size()];
        folderPath = ToUtf8(ReferenceFields(lines[line])[0], encoding);
        // The folder's line is the first after the header that holds a "\" and whose first
        // field is the path; an empty path stands for the root. A path without "\" names no
        // folder at all.
        if (!folderPath.empty()) {
            first = 0;
            for (size_t l = 1; l < lines.size(); ++l) {
                if (lines[l].find('\\') != std::string_view::npos &&
                    folderPath.find('\\') != std::string::npos &&
                    ToUtf8(ReferenceFields(lines[l])[0], encoding) == folderPath) {
                    first = l + 1;
                    break;
                }
            }
        }
    }
    const FolderRows rows = FolderRows::Read(file.Path(), folderPath);
    if (lines.empty())
        return 0;
    if (first == 0) { // not found: no rows, and the error names the list's number of lines
        FUZZ_CHECK(rows.Count() == 0);
        FUZZ_CHECK(rows.Error() ==
                   "List index out of bounds (" + std::to_string(lines.size()) + ")");
        return 0;
    }

    size_t row = 0;
    int64_t total = 0;
    for (size_t l = first; l < lines.size() && lines[l].find('\\') == std::string_view::npos; ++l) {
        if (lines[l].empty())
            continue; // an empty line gives no row
        const std::vector<std::string_view> fields = ReferenceFields(lines[l]);
        const std::optional<int64_t> value =
            TryParseSizeText(fields.size() > 1 ? fields[1] : std::string_view());
        if (!value || row >= rows.Count())
            break; // the reader stopped here with its error
        FUZZ_CHECK(rows.Caption(row) == ToUtf8(fields[0], encoding));
        FUZZ_CHECK(rows.Size(row) == *value);
        if (__builtin_add_overflow(total, *value, &total)) // the total stops at the limit
            total = *value < 0 ? INT64_MIN : INT64_MAX;
        ++row;
    }
    FUZZ_CHECK(rows.Count() == row);
    if (rows.Error().empty())
        FUZZ_CHECK(rows.Total() == total);
    return 0;
}
