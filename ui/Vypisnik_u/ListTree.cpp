#include "ui/Vypisnik_u/ListTree.h"

#include "platform/Memory.h"
#include "platform/ParallelInOrder.h"

#include "lists/DisplayFormat.h"
#include "lists/Groups.h"
#include "lists/ListFile.h"
#include "qtcore/Utf8.h"
#include "ui/Process_u/TfProcess.h"
#include "ui/common/TreeGrid.h"
#include "util/Encoding.h"

#include <QApplication>
#include <QProgressBar>

#include <algorithm>

namespace vyp {

namespace {

// A list's name as the user reads it: a file name that is not UTF-8 is read as Windows-1250,
// as list files are.
QString DisplayName(std::string_view fileName) {
    return Utf8(ToUtf8(fileName, DetectEncoding(fileName)));
}

// Moves the bar to done and lets it and pending window messages show it.
void ShowProgress(TfProcess* progress, int done) {
    if (progress == nullptr)
        return;
    QProgressBar* bar = progress->ProgressBarFile();
    bar->setValue(done);
    bar->repaint();
    QApplication::processEvents();
}

} // namespace

ListTree::ListTree(TreeGrid& tree, const ListRegistry& registry, RegionalSettings regional)
    : m_tree(tree), m_registry(registry), m_regional(std::move(regional)) {
    m_tree.OnGetText() = [this](NodeId node, int) {
        return Caption(node);
    };
    m_tree.OnGetImageIndex() = [this](NodeId node, int) {
        return ImageIndex(node);
    };
}

ListTree::Key ListTree::Decode(NodeId node) const {
    // The last list whose node is not after this one; nodes before the first list are groups.
    const auto after = std::upper_bound(m_listNodes.begin(), m_listNodes.end(), node);
    if (after == m_listNodes.begin()) {
        const auto group = std::find(m_groupNodes.begin(), m_groupNodes.end(), node);
        return {NodeKind::Group, kFirstGroup + static_cast<int>(group - m_groupNodes.begin()), 0,
                0};
    }
    const auto list = static_cast<size_t>(after - m_listNodes.begin() - 1);
    const NodeId listNode = m_listNodes[list];
    if (node == listNode)
        return {NodeKind::List, 0, list, 0};
    return {NodeKind::Folder, 0, list, static_cast<size_t>(node - listNode - 1)};
}

void ListTree::Build(TfProcess* progress) {
    m_building = true;
    const size_t listCount = m_registry.ListPaths.size();
    m_groupCounts.fill(0);
    for (const rsznListInfo& info : m_registry.ListInfos)
        ++m_groupCounts[static_cast<size_t>(EffectiveGroup(info.Group) - kFirstGroup)];

    m_tree.BeginUpdate();
    m_tree.Clear();
    m_hierarchies.clear();
    m_hierarchies.resize(listCount);
    m_listNodes.clear();
    m_listNodes.reserve(listCount);
    for (const GroupInfo& group : kGroups)
        m_groupNodes[static_cast<size_t>(group.id - kFirstGroup)] = m_tree.AddChild(kNoNode);

    if (progress != nullptr) {
        progress->show();
        QApplication::processEvents();
        // One step per list, and a last one for handing the finished tree to the view, so the
        // bar is full only when the work is done.
        progress->ProgressBarFile()->reset();
        progress->ProgressBarFile()->setMaximum(static_cast<int>(listCount) + 1);
    }
    // The lists are read side by side on every core; their nodes are added here, in registry
    // order, as each list is ready.
    ShowProgress(progress, 0);
    ParallelInOrder<FolderHierarchy>(
        listCount, [this](size_t i) { return FolderHierarchy::Read(m_registry.ListPaths[i]); },
        [&](size_t i, FolderHierarchy&& hierarchy) {
            const int group = EffectiveGroup(m_registry.ListInfos[i].Group);
            m_hierarchies[i] = std::move(hierarchy);
            AddList(i, m_groupNodes[static_cast<size_t>(group - kFirstGroup)]);
            ShowProgress(progress, static_cast<int>(i) + 1);
        });
    m_tree.SelectNode(m_tree.FirstNode());
    m_building = false;
    m_tree.EndUpdate(); // lays the tree out and reports the selection of the first group
    // The readers' buffers and the tree's growing arrays are free now, between the blocks the
    // tree keeps.
    ReturnFreedMemory();
    ShowProgress(progress, static_cast<int>(listCount) + 1);
    if (progress != nullptr)
        progress->hide();
}

void ListTree::AddList(size_t list, NodeId groupNode) {
    // A list that cannot be read keeps its node, without folders; the others still load.
    FolderHierarchy& hierarchy = m_hierarchies[list];
    const NodeId listNode = m_tree.AddChild(groupNode);
    m_listNodes.push_back(listNode);
    // Folder f's node is listNode + 1 + f: its parent's node is found without a table.
    for (size_t folder = 0; folder < hierarchy.Count(); ++folder) {
        const int32_t parent = hierarchy.Parent(folder);
        m_tree.AddChild(parent == FolderHierarchy::kListNode ? listNode : listNode + 1 + parent);
    }
    hierarchy.ForgetParents(); // the tree holds them now
}

ListTree::NodeKind ListTree::Kind(NodeId node) const {
    return Decode(node).kind;
}

NodeId ListTree::NodeOfList(const std::string& listFile) const {
    // The list nodes are in registry order: the lists added so far have theirs.
    for (size_t list = 0; list < m_listNodes.size() && list < m_registry.ListInfos.size(); ++list)
        if (m_registry.ListInfos[list].FullPath == listFile)
            return m_listNodes[list];
    return kNoNode;
}

NodeId ListTree::NodeOfFolder(const std::string& listFile, std::string_view folderPath) const {
    const NodeId listNode = NodeOfList(listFile);
    if (listNode == kNoNode || folderPath.empty())
        return listNode;
    const FolderHierarchy& hierarchy = m_hierarchies[Decode(listNode).list];
    for (size_t folder = 0; folder < hierarchy.Count(); ++folder)
        if (hierarchy.Path(folder) == folderPath)
            return listNode + 1 + static_cast<NodeId>(folder);
    return kNoNode;
}

std::optional<size_t> ListTree::ListOf(NodeId node) const {
    if (node == kNoNode)
        return std::nullopt;
    const Key key = Decode(node);
    if (key.kind == NodeKind::Group)
        return std::nullopt;
    return key.list;
}

std::string_view ListTree::FolderPath(NodeId node) const {
    const Key key = Decode(node);
    if (key.kind != NodeKind::Folder)
        return {};
    return m_hierarchies[key.list].Path(key.folder);
}

std::optional<FolderLineHint> ListTree::Hint(NodeId node) const {
    const Key key = Decode(node);
    if (key.kind != NodeKind::Folder)
        return std::nullopt;
    return m_hierarchies[key.list].Hint(key.folder);
}

QString ListTree::Caption(NodeId node) const {
    const Key key = Decode(node);
    switch (key.kind) {
    case NodeKind::Group: {
        const GroupInfo& group = GroupById(key.group);
        return QStringLiteral("%1 (%2)")
            .arg(Utf8(group.caption))
            .arg(m_groupCounts[static_cast<size_t>(group.id - kFirstGroup)]);
    }
    case NodeKind::List:
        return DisplayName(ListCaption(m_registry.ListInfos[key.list].FileName));
    case NodeKind::Folder:
        return Utf8(m_hierarchies[key.list].Caption(key.folder));
    }
    return {};
}

int ListTree::ImageIndex(NodeId node) const {
    const Key key = Decode(node);
    switch (key.kind) {
    case NodeKind::Group:
        return GroupById(key.group).id;
    case NodeKind::List:
        return m_registry.ListInfos[key.list].Kind;
    case NodeKind::Folder:
        return 0;
    }
    return 0;
}

TNodeRec ListTree::Record(NodeId node) const {
    TNodeRec record;
    const Key key = Decode(node);
    record.Caption = Caption(node);
    record.ImageIndex = ImageIndex(node);
    if (key.kind == NodeKind::Group) {
        record.SizeText = QStringLiteral("0");
        return record;
    }
    record.ListIndex = static_cast<int>(key.list);
    const rsznListInfo& info = m_registry.ListInfos[key.list];
    const FolderHierarchy& hierarchy = m_hierarchies[key.list];
    if (key.kind == NodeKind::List) {
        record.Path = info.FullPath;
        record.SizeText = Utf8(hierarchy.ListSizeText());
        record.DateText = Utf8(FormatListDate(info.Date, m_regional));
        record.TimeText = Utf8(FormatListTime(info.Time, m_regional));
        return record;
    }
    record.Path = std::string(hierarchy.Path(key.folder));
    record.SizeText = Utf8(hierarchy.SizeText(key.folder));
    record.DateText = Utf8(hierarchy.DateText(key.folder));
    record.TimeText = Utf8(hierarchy.TimeText(key.folder));
    return record;
}

} // namespace vyp
