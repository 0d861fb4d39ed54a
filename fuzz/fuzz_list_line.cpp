// The line parser of list files against the format's rules (ReferenceFormat.h): lines, fields,
// display name, extension, and the time with "." read as ":".
#include "FuzzSupport.h"
#include "ReferenceFormat.h"

#include "lists/ListFile.h"

using namespace vyp;
using namespace vyp::fuzz;

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
        // The first four fields are kept, each up to its TAB; an empty line has none.
        const ListLineFields split = SplitListLine(line);
        const size_t kept = line.empty() ? 0 : fields.size() < 4 ? fields.size() : 4;
        FUZZ_CHECK(split.count == static_cast<int>(kept));
        for (size_t f = 0; f < kept; ++f)
            FUZZ_CHECK(split.field[f] == fields[f]);
        for (size_t f = 0; f < 4; ++f) {
            std::string shown = "before";
            AppendFieldForDisplay(split, f, shown);
            const std::string expected = f >= kept ? ""
                                         : f == 3  ? ReferenceShownTime(fields[f])
                                                   : std::string(fields[f]);
            FUZZ_CHECK(shown == "before" + expected);
        }

        // Outputs of fields the line lacks keep the caller's values; the name comes from the
        // first field as it stands afterwards.
        std::string field1 = "Hry\\Staré\\", name, sizeText = "s", date = "d", time = "t.t";
        FUZZ_CHECK(ParseListLine(field1, name, sizeText, date, time, line));
        const std::string_view callers[4] = {"Hry\\Staré\\", "s", "d", "t.t"};
        const auto expected = [&](size_t f) {
            return std::string(f < kept ? fields[f] : callers[f]);
        };
        FUZZ_CHECK(field1 == expected(0));
        FUZZ_CHECK(sizeText == expected(1));
        FUZZ_CHECK(date == expected(2));
        FUZZ_CHECK(time == ReferenceShownTime(expected(3)));
        FUZZ_CHECK(name == ReferenceDisplayName(field1));

        FUZZ_CHECK(DisplayNameOf(line) == ReferenceDisplayName(line));
        FUZZ_CHECK(ExtensionOf(line) == ReferenceExtension(line));
        FUZZ_CHECK(TimeForDisplay(line) == ReferenceShownTime(line));
        const std::string_view caption = ListCaption(line);
        FUZZ_CHECK(line.size() >= 4 && line.substr(line.size() - 4) == ".sez"
                       ? caption == line.substr(0, line.size() - 4)
                       : caption == line);
    }
    return 0;
}
