// "tree NAME": a list's folders depth first, each with its depth, as the list tree nests them.
#include "cli/Commands.h"
#include "lists/DisplayFormat.h"
#include "lists/FolderHierarchy.h"
#include "lists/SizeText.h"
#include "util/ChildrenByParent.h"
#include "util/Errors.h"

namespace vyp {

namespace {

int RunTree(const CommandLine& line, CliSession& session) {
    const auto list = session.FindListFile(line.OnlyPositional("tree potřebuje NAME"));
    if (!list)
        return kCommandFailed;
    const FolderHierarchy hierarchy = FolderHierarchy::Read(*list);
    if (!hierarchy.Error().empty())
        return session.Fail(hierarchy.Error());

    // Children in file order, walked depth first: the tree's own order; slot count stands for the
    // top level.
    const size_t count = hierarchy.Count();
    std::vector<uint32_t> firstChild, children;
    GroupChildrenByParent(
        count + 1, count,
        [&](size_t i) {
            return hierarchy.Parent(i) < 0 ? count : static_cast<size_t>(hierarchy.Parent(i));
        },
        firstChild, children);
    int status = kCommandDone;
    struct Siblings {
        uint32_t at, end; // the next child and the end of its parent's children
        int depth;
    };
    std::vector<Siblings> walk{{firstChild[count], firstChild[count + 1], 1}};
    while (!walk.empty()) {
        Siblings& siblings = walk.back();
        if (siblings.at == siblings.end) {
            walk.pop_back();
            continue;
        }
        const size_t i = children[siblings.at++];
        const int depth = siblings.depth;
        walk.push_back({firstChild[i], firstChild[i + 1], depth + 1});
        std::string size;
        if (TryParseSizeText(hierarchy.SizeText(i)))
            size = FormatTreeSize(hierarchy.SizeText(i), session.Regional());
        else
            status = session.Fail(InvalidIntegerText(hierarchy.SizeText(i)));
        session.Row({std::to_string(depth), hierarchy.Caption(i), hierarchy.Path(i), size,
                     hierarchy.DateText(i), hierarchy.TimeText(i)});
    }
    return status;
}

} // namespace

const Command kTreeCommand{"tree", "NAME", {}, {}, RunTree};

} // namespace vyp
