// The children of every node of a tree that is kept as one parent per node, grouped by parent
// in one flat array: two passes over the nodes and no object per node, for trees of millions
// of folders (the grid of a window, the folders of a list, the folders of a million paths).
// Parents are slots 0..slotCount-1: the nodes themselves, and whatever slot a caller gives to
// the top level.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vyp {

// Fills first (slotCount + 1 entries) and children (nodeCount) so that the children of slot s
// are children[first[s] .. first[s + 1]), in the order of their numbers. slotOf(node) is the
// slot of node's parent.
template <typename Node, typename SlotOf>
void GroupChildrenByParent(size_t slotCount, size_t nodeCount, SlotOf slotOf,
                           std::vector<uint32_t>& first, std::vector<Node>& children) {
    first.assign(slotCount + 1, 0);
    for (size_t node = 0; node < nodeCount; ++node)
        ++first[static_cast<size_t>(slotOf(node)) + 1];
    for (size_t slot = 1; slot < first.size(); ++slot)
        first[slot] += first[slot - 1];
    children.assign(nodeCount, Node{});
    std::vector<uint32_t> next(first.begin(), first.end() - 1);
    for (size_t node = 0; node < nodeCount; ++node)
        children[next[static_cast<size_t>(slotOf(node))]++] = static_cast<Node>(node);
}

} // namespace vyp
