// "tree NAME": a list's folders depth first, each with its depth, as the list tree nests them.
#include "cli/Commands.h"
#include "lists/DisplayFormat.h"
#include "lists/FolderHierarchy.h"
#include "lists/SizeText.h"
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

    // Children in file order, walked depth first: the tree's own order.
    const size_t count = hierarchy.Count();
    std::vector<int32_t> firstChild(count + 1, -1), nextSibling(count, -1),
        lastChild(count + 1, -1);
    for (size_t i = 0; i < count; ++i) {
        const size_t parent =
            hierarchy.Parent(i) < 0 ? count : static_cast<size_t>(hierarchy.Parent(i));
        if (lastChild[parent] < 0)
            firstChild[parent] = static_cast<int32_t>(i);
        else
            nextSibling[static_cast<size_t>(lastChild[parent])] = static_cast<int32_t>(i);
        lastChild[parent] = static_cast<int32_t>(i);
    }
    int status = kCommandDone;
    std::vector<std::pair<int32_t, int>> stack; // node, depth
    if (firstChild[count] >= 0)
        stack.push_back({firstChild[count], 1});
    while (!stack.empty()) {
        const auto [node, depth] = stack.back();
        stack.pop_back();
        const auto i = static_cast<size_t>(node);
        if (nextSibling[i] >= 0)
            stack.push_back({nextSibling[i], depth});
        if (firstChild[i] >= 0)
            stack.push_back({firstChild[i], depth + 1});
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
