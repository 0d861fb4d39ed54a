// The files of a folder read from a list file against the reading rules (ReferenceFormat.h): the
// file lines right after the folder's line up to the next line holding "\", their fields as
// texts of the file's encoding, their sizes summed; a size that is no number ends the rows with
// the user's error.
#include "FuzzSupport.h"
#include "ReferenceFormat.h"

#include "lists/FolderRows.h"

using namespace vyp;
using namespace vyp::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFile file("Fotky z Brna.sez");
    InputTaker input(data, size);
    const uint64_t choice = input.Number(1);
    const std::string_view bytes = input.Rest();
    file.Write(bytes);
    const std::string text = ReferenceText(bytes);
    const std::vector<std::string_view> lines = ReferenceLines(text);
    const auto holdsBackslash = [](std::string_view line) {
        return line.find('\\') != std::string_view::npos;
    };

    // The folder asked for: the root, or the path of one of the folder lines.
    std::vector<size_t> folderLines;
    for (size_t l = 1; l < lines.size(); ++l) {
        if (holdsBackslash(lines[l]))
            folderLines.push_back(l);
    }
    std::string folderPath;
    size_t first = 1; // the line after the folder's own
    if (!folderLines.empty() && choice % 2 == 1) {
        const size_t line = folderLines[choice / 2 % folderLines.size()];
        folderPath = ReferenceFields(lines[line])[0];
        // The folder's line is the first after the header that holds a "\" and whose first
        // field is the path; an empty path stands for the root. A path without "\" names no
        // folder at all.
        if (!folderPath.empty()) {
            first = 0;
            for (size_t l = 1; l < lines.size() && first == 0; ++l) {
                if (holdsBackslash(lines[l]) && holdsBackslash(folderPath) &&
                    ReferenceFields(lines[l])[0] == folderPath)
                    first = l + 1;
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
    std::string error;
    for (size_t l = first; l < lines.size() && !holdsBackslash(lines[l]); ++l) {
        if (lines[l].empty())
            continue; // an empty line gives no row
        const std::vector<std::string_view> fields = ReferenceFields(lines[l]);
        const std::string_view sizeText = fields.size() > 1 ? fields[1] : std::string_view();
        const std::optional<int64_t> value = ReferenceSizeValue(sizeText);
        if (!value) {
            error = "'" + std::string(sizeText) + "' is not a valid integer value";
            break;
        }
        FUZZ_CHECK(row < rows.Count());
        FUZZ_CHECK(rows.Caption(row) == fields[0]);
        FUZZ_CHECK(rows.SizeText(row) == sizeText);
        FUZZ_CHECK(rows.Size(row) == *value);
        FUZZ_CHECK(rows.DateText(row) == (fields.size() > 2 ? fields[2] : std::string_view()));
        FUZZ_CHECK(rows.TimeText(row) ==
                   ReferenceShownTime(fields.size() > 3 ? fields[3] : std::string_view()));
        FUZZ_CHECK(rows.Extension(row) == ReferenceExtension(fields[0]));
        // The total stops at the ends of the range instead of wrapping round.
        if (__builtin_add_overflow(total, *value, &total))
            total = *value < 0 ? INT64_MIN : INT64_MAX;
        ++row;
    }
    FUZZ_CHECK(rows.Count() == row);
    FUZZ_CHECK(rows.Error() == error);
    if (error.empty())
        FUZZ_CHECK(rows.Total() == total);
    return 0;
}
