// The folder hierarchy read from a list file against the reading rules (ReferenceFormat.h): one
// node per later line holding "\", its fields as texts of the file's encoding, the header's
// total, and as parent the latest earlier folder whose path is the nearest existing ancestor.
#include "FuzzSupport.h"
#include "ReferenceFormat.h"

#include "lists/FolderHierarchy.h"

#include <map>

using namespace vyp;
using namespace vyp::fuzz;

namespace {

// The path less its last component ("Games\Old\" gives "Games\", "Games\" gives "").
std::string ParentPath(const std::string& path) {
    if (path.empty())
        return path;
    const size_t slash = path.substr(0, path.size() - 1).rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFile file("Hudba a filmy.sez");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    file.Write(bytes);
    const FolderHierarchy hierarchy = FolderHierarchy::Read(file.Path());
    FUZZ_CHECK(hierarchy.Error().empty());

    // Every text is read in the file's encoding: split the text, the separators are ASCII.
    const std::string text = ReferenceText(bytes);
    const std::vector<std::string_view> lines = ReferenceLines(text);
    std::string total = "0";
    if (!lines.empty()) {
        const size_t tab = lines[0].find('\t');
        if (tab != std::string_view::npos)
            total = lines[0].substr(tab + 1);
    }
    FUZZ_CHECK(hierarchy.ListSizeText() == total);

    std::map<std::string, int32_t> latest; // path -> latest node with it
    size_t node = 0;
    for (size_t l = 1; l < lines.size(); ++l) {
        if (lines[l].find('\\') == std::string_view::npos)
            continue;
        FUZZ_CHECK(node < hierarchy.Count());
        const std::vector<std::string_view> fields = ReferenceFields(lines[l]);
        const std::string path(fields[0]);
        FUZZ_CHECK(hierarchy.Path(node) == path);
        FUZZ_CHECK(hierarchy.Caption(node) == ReferenceDisplayName(path));
        const auto field = [&fields](size_t f) {
            return f < fields.size() ? std::string(fields[f]) : std::string();
        };
        FUZZ_CHECK(hierarchy.SizeText(node) == field(1));
        FUZZ_CHECK(hierarchy.DateText(node) == field(2));
        FUZZ_CHECK(hierarchy.TimeText(node) == ReferenceShownTime(field(3)));

        int32_t parent = FolderHierarchy::kListNode;
        for (std::string up = ParentPath(path); !up.empty(); up = ParentPath(up)) {
            const auto found = latest.find(up);
            if (found != latest.end()) {
                parent = found->second;
                break;
            }
        }
        FUZZ_CHECK(hierarchy.Parent(node) == parent);
        latest[path] = static_cast<int32_t>(node);
        ++node;
    }
    FUZZ_CHECK(node == hierarchy.Count());
    return 0;
}
