// The line parser of list files against the format's rules: lines, fields, display name,
// extension, and the time with "." read as ":".
#include "FuzzSupport.h"

#include "lists/ListFile.h"

#include <algorithm>

using namespace vyp;
using namespace vyp::fuzz;

namespace {

std::string_view ReferenceDisplayName(std::string_view field1) {
    if (field1.find('\\') == std::string_view::npos)
        return field1;
    const std::string_view withoutLast = field1.substr(0, field1.size() - 1);
    const size_t slash = withoutLast.rfind('\\');
    return slash == std::string_view::npos ? withoutLast : withoutLast.substr(slash + 1);
}

std::string_view ReferenceExtension(std::string_view name) {
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> lines = ReferenceLines(bytes);
    FUZZ_CHECK(SplitLines(bytes) == lines);
    LineReader reader(bytes);
    size_t read = 0;
    for (std::string_view line; reader.Next(line); ++read)
        FUZZ_CHECK(read < lines.size() && line == lines[read]);
    FUZZ_CHECK(read == lines.size());

    for (const std::string_view line : lines) {
        const std::vector<std::string_view> fields = ReferenceFields(line);
        const ListLineFields split = SplitListLine(line);
        const int expectedCount =
            line.empty() ? 0 : static_cast<int>(std::min<size_t>(4, fields.size()));
        FUZZ_CHECK(split.count == expectedCount);
        for (int f = 0; f < split.count && f < 3; ++f)
            FUZZ_CHECK(split.field[f] == fields[static_cast<size_t>(f)]);

        // Four-field lines are every folder and file line: their results are fixed exactly.
        std::string field1 = "caller", name, sizeText = "s", date = "d", time = "t.t";
        FUZZ_CHECK(ParseListLine(field1, name, sizeText, date, time, line));
        FUZZ_CHECK(name == ReferenceDisplayName(field1));
        FUZZ_CHECK(time.find('.') == std::string::npos);
        if (fields.size() == 4) {
            std::string expectedTime(fields[3]);
            std::replace(expectedTime.begin(), expectedTime.end(), '.', ':');
            FUZZ_CHECK(field1 == fields[0] && sizeText == fields[1] && date == fields[2] &&
                       time == expectedTime);
        }
        if (line.empty())
            FUZZ_CHECK(field1 == "caller" && sizeText == "s" && date == "d" && time == "t:t");
        FUZZ_CHECK(DisplayNameOf(line) == ReferenceDisplayName(line));
        FUZZ_CHECK(ExtensionOf(line) == ReferenceExtension(line));
        FUZZ_CHECK(TimeForDisplay(line).size() == line.size());
    }
    return 0;
}
