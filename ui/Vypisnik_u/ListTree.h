// The main window's list tree: groups, their lists and each list's folders. It builds the tree
// from the list registry while the progress window shows how much work remains, keeps each
// list's folder hierarchy, and answers the tree's texts and pictures straight from them. A
// node's id tells its kind, its list and its folder (a list's node is followed by its folders'
// nodes in file order), so the grid stores nothing else per node; a TNodeRec is made only for
// a handler that asks for one. The one place that knows a node's kind, and the node of a list or
// of a folder for whoever wants to show one.
#pragma once

#include "lists/FolderHierarchy.h"
#include "lists/ListRegistry.h"
#include "lists/RegionalSettings.h"
#include "ui/Vypisnik_u/TNodeRec.h"
#include "ui/common/TreeGridModel.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vyp {

class TfProcess;
class TreeGrid;

class ListTree {
public:
    enum class NodeKind { Group, List, Folder };

    // Takes over the tree's text and picture callbacks.
    ListTree(TreeGrid& tree, const ListRegistry& registry, RegionalSettings regional);

    // Rebuilds the whole tree from the registry: seven group nodes, each list under its group,
    // each list's folders under it, and selects the first group node. A list that cannot be
    // read keeps its node without folders. While it runs, progress (if any) is shown and
    // pending window messages run once per list.
    void Build(TfProcess* progress);
    bool Building() const { return m_building; }

    NodeKind Kind(NodeId node) const;
    // The node of the list whose file is listFile, or kNoNode when the tree does not hold it.
    NodeId NodeOfList(const std::string& listFile) const;
    // The node of the folder folderPath (as stored; empty: the list itself) of that list, or
    // kNoNode.
    NodeId NodeOfFolder(const std::string& listFile, std::string_view folderPath) const;
    // The registry index of a list or folder node's list.
    std::optional<size_t> ListOf(NodeId node) const;
    // The folder's relative path as stored (UTF-8), empty for the list node itself.
    std::string_view FolderPath(NodeId node) const;
    // Where a folder node's line lay in its list file at the build; nothing for other nodes.
    std::optional<FolderLineHint> Hint(NodeId node) const;
    TNodeRec Record(NodeId node) const;

    QString Caption(NodeId node) const;
    int ImageIndex(NodeId node) const;

private:
    struct Key {
        NodeKind kind;
        int group;     // of a group node
        size_t list;   // of a list or folder node
        size_t folder; // of a folder node
    };
    Key Decode(NodeId node) const;
    void AddList(size_t list, NodeId groupNode);

    TreeGrid& m_tree;
    const ListRegistry& m_registry;
    RegionalSettings m_regional;
    std::vector<FolderHierarchy> m_hierarchies; // by list index, from the last build, the
                                                // parents forgotten once in the tree
    std::array<NodeId, 7> m_groupNodes{};       // by group id less kFirstGroup
    std::vector<NodeId> m_listNodes;            // by list index, rising: the lists added so far
    std::array<int, 7> m_groupCounts{};
    bool m_building = false;
};

} // namespace vyp
