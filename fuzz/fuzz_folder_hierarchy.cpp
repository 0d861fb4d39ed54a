// The folder hierarchy read from a list file against the reading rules: one node per later
// line holding "\", its first field as path, the header's total, and as parent the latest
// earlier folder whose path is the nearest existing ancestor.
#include "FuzzSupport.h"

#include "lists/FolderHierarchy.h"
#include "util/Encoding.h"

#include <map>

using namespace vyp;
using namespace vyp::fuzz;

namespace {

// The path less its last component ("Games\Old\" gives "Games\", "Games\" gives "").
std::string_view ParentPath(std::string_view path) {
    if (path.empty())
        return path;
    const size_t slash = path.substr(0, path.size() - 1).rfind('\\');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFile file("list.sez");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    file.Write(bytes);
    const FolderHierarchy hierarchy = FolderHierarchy::Read(file.Path());
    FUZZ_CHECK(hierarchy.Error().empty());

    const TextEncoding encoding = DetectEncoding(bytes);
    const std::vector<std::string_view> lines = ReferenceLines(bytes);
    std::string total = "0";
    if (!lines.empty()) {
        const size_t tab = lines[0].find('\t');
        if (tab != std::string_view::npos)
            total = ToUtf8(lines[0].substr(tab + 1), encoding);
    }
    FUZZ_CHECK(hierarchy.ListSizeText() == total);

    std::map<std::string, int32_t> latest; // path (UTF-8) -> latest node with it
    size_t node = 0;
    for (size_t l = 1; l < lines.size(); ++l) {
        if (lines[l].find('\\') == std::string_view::npos)
            continue;
        FUZZ_CHECK(node < hierarchy.Count());
        const std::vector<std::string_view> fields = ReferenceFields(lines[l]);
        const std::string path = ToUtf8(fields[0], encoding);
        FUZZ_CHECK(hierarchy.Path(node) == path);
        if (fields.size() >= 2 && fields.size() <= 4)
            FUZZ_CHECK(hierarchy.SizeText(node) == ToUtf8(fields[1], encoding));

        int32_t parent = FolderHierarchy::kListNode;
        for (std::string_view up = ParentPath(path); !up.empty(); up = ParentPath(up)) {
            const auto found = latest.find(std::string(up));
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
